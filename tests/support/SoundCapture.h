#ifndef VQ_TESTS_SUPPORT_SOUNDCAPTURE_H
#define VQ_TESTS_SUPPORT_SOUNDCAPTURE_H

#include <sys/types.h>

#include <string>

namespace vqtest {

// Records everything a process plays into a 16-bit PCM WAV file, without a
// sound card. Under SFML 2 OpenAL Soft's wave writer, in the playing process
// itself, writes the file. Under SFML 3 miniaudio plays into a private
// PulseAudio server with a null sink, whose monitor parecord writes to the
// file; the sink keeps real time, so lengths and gaps can be measured.
class SoundCapture {
public:
    // `dir` holds the configuration, the server's socket and its log.
    SoundCapture(std::string dir, std::string wav_path, int channels);
    // Stops the recorder and the server.
    ~SoundCapture();
    SoundCapture(const SoundCapture&) = delete;
    SoundCapture& operator=(const SoundCapture&) = delete;

    // Gets the capture ready; false, with error() saying why, when it cannot.
    bool start();
    // Points the audio library at the capture: call it in the process that
    // will play, before its first audio object exists.
    void apply() const;
    const std::string& error() const { return m_error; }

private:
    std::string m_dir, m_wav_path, m_error;
    int m_channels;
    pid_t m_server = -1, m_recorder = -1;
};

} // namespace vqtest

#endif
