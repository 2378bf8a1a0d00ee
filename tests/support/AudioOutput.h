#ifndef VQ_TESTS_SUPPORT_AUDIOOUTPUT_H
#define VQ_TESTS_SUPPORT_AUDIOOUTPUT_H

// Where the audio of a test goes. Both audio back ends are set up at once:
// OpenAL Soft (SFML 2) and miniaudio (SFML 3), which tries PulseAudio, then
// ALSA.

#include <cstdlib>
#include <fstream>
#include <string>

namespace vqtest {

// Audio objects made after this call play into an output that works but
// goes nowhere: tests neither need nor disturb a sound card.
inline void useSilentAudioOutput() {
    setenv("ALSOFT_DRIVERS", "null", 1);
    // miniaudio finds no server and no ALSA device and falls back to its own
    // null device.
    setenv("PULSE_SERVER", "unix:/nonexistent/velloq-pulse", 1);
    setenv("ALSA_CONFIG_PATH", "/dev/null", 1);
}

// Audio objects made after this call find a device that cannot be opened,
// as on a machine without a sound card. `dir` holds the configuration.
inline void useMissingAudioDevice(const std::string& dir) {
    const std::string openal = dir + "/alsoft-dead.conf", alsa = dir + "/alsa-dead.conf";
    std::ofstream(openal) << "[general]\ndrivers = oss\n[oss]\ndevice = /nonexistent/velloq-dsp\n";
    // A device that is listed (it has a hint) but whose card does not exist:
    // miniaudio tries it, fails and leaves SFML without an audio engine.
    std::ofstream(alsa) << "pcm.!default {\n type hw\n card 99\n hint.description \"no such card\"\n}\n";
    setenv("ALSOFT_CONF", openal.c_str(), 1);
    unsetenv("ALSOFT_DRIVERS");
    setenv("PULSE_SERVER", "unix:/nonexistent/velloq-pulse", 1);
    setenv("ALSA_CONFIG_PATH", alsa.c_str(), 1);
}

} // namespace vqtest

#endif
