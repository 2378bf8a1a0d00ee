#ifndef VQ_TESTS_SUPPORT_SOUNDCAPTURE_H
#define VQ_TESTS_SUPPORT_SOUNDCAPTURE_H

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <velloq/display/SfmlCompat.h>

extern char** environ;

namespace vqtest {

namespace process {

// Starts a program found on the PATH with this process's environment.
// posix_spawn, not fork: this process may have threads, and a forked child
// may call nothing but exec.
inline pid_t spawn(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    return posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) == 0 ? pid : -1;
}

// Waits up to 20 s for the condition; false when the process ended or time ran out first.
template <typename Condition> bool waitUntil(pid_t pid, Condition done) {
    for (auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
         std::chrono::steady_clock::now() < deadline; std::this_thread::sleep_for(std::chrono::milliseconds(20))) {
        if (done())
            return true;
        if (waitpid(pid, nullptr, WNOHANG) == pid)
            return false;
    }
    return false;
}

// Asks a process to end, insists after 5 s, and reaps it.
inline void stop(pid_t& pid, int signal_number) {
    if (pid > 0)
        kill(pid, signal_number);
    for (int waited = 0; pid > 0 && waitpid(pid, nullptr, WNOHANG) == 0; waited += 10, usleep(10000))
        if (waited == 5000)
            kill(pid, SIGKILL);
    pid = -1;
}

} // namespace process

// Records everything a process plays into a 16-bit PCM WAV file, without a
// sound card. Under SFML 2 OpenAL Soft's wave writer, in the playing process
// itself, writes the file. Under SFML 3 miniaudio plays into a private
// PulseAudio server with a null sink, whose monitor parecord writes to the
// file; the sink keeps real time, so lengths and gaps can be measured.
// `dir` holds the configuration, the server's socket and its log.
class SoundCapture {
public:
    SoundCapture(std::string dir, std::string wav_path, int channels)
        : m_dir(std::move(dir)), m_wav_path(std::move(wav_path)), m_channels(channels) {}
    // Stops the recorder and the server.
    ~SoundCapture() {
        process::stop(m_recorder, SIGINT);
        process::stop(m_server, SIGTERM);
    }
    SoundCapture(const SoundCapture&) = delete;
    SoundCapture& operator=(const SoundCapture&) = delete;

    // Gets the capture ready; false, with error() saying why, when it cannot.
    bool start() {
        if (vq::priv::AUDIO_THROUGH_OPENAL) {
            std::ofstream conf(m_dir + "/alsoft.conf");
            conf << "[general]\ndrivers = wave\nsample-type = int16\nfrequency = 44100\n"
                 << "channels = " << (m_channels == 1 ? "mono" : "stereo") << "\n[wave]\nfile = " << m_wav_path << "\n";
            return static_cast<bool>(conf);
        }
        // A server of our own, reached only through its socket: no session
        // bus, no real-time scheduling, nothing shared with a desktop's
        // server. The null sink without rewinds keeps streams with tiny
        // buffers moving.
        const std::string socket = m_dir + "/pulse.sock", channels = std::to_string(m_channels);
        m_server = process::spawn({"env", "HOME=" + m_dir, "XDG_RUNTIME_DIR=" + m_dir, "XDG_CONFIG_HOME=" + m_dir,
                                   "pulseaudio", "--daemonize=no", "-n", "--exit-idle-time=-1", "--use-pid-file=no",
                                   "--system=no", "--realtime=no", "--high-priority=no", "--disable-shm=yes",
                                   "--log-target=newfile:" + m_dir + "/pulse.log", "-L",
                                   "module-null-sink sink_name=capture rate=44100 norewinds=1 channels=" + channels +
                                       (m_channels == 1 ? " channel_map=mono" : ""),
                                   "-L", "module-native-protocol-unix auth-anonymous=1 socket=" + socket});
        if (m_server < 0 || !process::waitUntil(m_server, [&] { return std::filesystem::is_socket(socket); })) {
            m_error = "pulseaudio did not come up (is it installed?); see " + m_dir + "/pulse.log";
            return false;
        }
        m_recorder = process::spawn({"env", "PULSE_COOKIE=" + m_dir + "/cookie", "parecord", "--server=unix:" + socket,
                                     "--device=capture.monitor", "--file-format=wav", "--format=s16le", "--rate=44100",
                                     "--channels=" + channels, "--latency-msec=20", m_wav_path});
        // The sink plays silence while nothing else plays, so samples arrive at
        // once when recording works.
        std::error_code missing;
        const auto recording = [&] { return std::filesystem::file_size(m_wav_path, missing) > 1000 && !missing; };
        if (m_recorder < 0 || !process::waitUntil(m_recorder, recording)) {
            m_error = "parecord recorded nothing (is pulseaudio-utils installed?)";
            return false;
        }
        return true;
    }
    // Points the audio library at the capture: call it in the process that
    // will play, before its first audio object exists.
    void apply() const {
        if (vq::priv::AUDIO_THROUGH_OPENAL) {
            setenv("ALSOFT_CONF", (m_dir + "/alsoft.conf").c_str(), 1);
            unsetenv("ALSOFT_DRIVERS");
            return;
        }
        setenv("PULSE_SERVER", ("unix:" + m_dir + "/pulse.sock").c_str(), 1);
        setenv("PULSE_COOKIE", (m_dir + "/cookie").c_str(), 1);
        setenv("PULSE_LATENCY_MSEC", "30", 1);      // a few frames of buffer: a busy machine must not starve the stream
        setenv("ALSA_CONFIG_PATH", "/dev/null", 1); // should the server be missing, nothing reaches a real device
    }
    const std::string& error() const { return m_error; }

private:
    std::string m_dir, m_wav_path, m_error;
    int m_channels;
    pid_t m_server = -1, m_recorder = -1;
};

} // namespace vqtest

#endif
