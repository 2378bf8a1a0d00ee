#ifndef VQ_TESTS_SUPPORT_SFMLTESTCOMPAT_H
#define VQ_TESTS_SUPPORT_SFMLTESTCOMPAT_H

// The test-side companion of the engine's display/SfmlCompat.h: every SFML
// 2/3 difference that only tests and benchmarks touch is chosen here.

#include <cstdlib>
#include <fstream>
#include <string>

#include <SFML/Audio/Sound.hpp>
#include <SFML/Audio/SoundBuffer.hpp>
#include <SFML/Window/Window.hpp>

namespace vqtest {

// SFML 2 plays through OpenAL Soft, SFML 3 through miniaudio, which is
// reached here through PulseAudio (tried first on Linux) or ALSA.
const bool AUDIO_THROUGH_OPENAL = SFML_VERSION_MAJOR < 3;

// The samples a playback object plays; null when it has none.
inline const sf::SoundBuffer* bufferOf(const sf::Sound& sound) {
#if SFML_VERSION_MAJOR >= 3
    return &sound.getBuffer();
#else
    return sound.getBuffer();
#endif
}

// A sound or a music.
template <typename Playing> bool isLooping(const Playing& playing) {
#if SFML_VERSION_MAJOR >= 3
    return playing.isLooping();
#else
    return playing.getLoop();
#endif
}

// The X window id of a window, as xdotool names it.
inline unsigned long windowId(const sf::Window& window) {
#if SFML_VERSION_MAJOR >= 3
    return static_cast<unsigned long>(window.getNativeHandle());
#else
    return static_cast<unsigned long>(window.getSystemHandle());
#endif
}

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
