#ifndef VQ_TESTS_E2E_GAMEPROCESS_H
#define VQ_TESTS_E2E_GAMEPROCESS_H

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <SFML/Graphics/Image.hpp>
#include <X11/Xlib.h>

#include "SoundCapture.h"

namespace e2e {

inline void sleepSeconds(double seconds) { std::this_thread::sleep_for(std::chrono::duration<double>(seconds)); }

// Runs a shell command and returns what it printed, trailing newline removed.
// The X server now and then refuses a connection made right after another
// one closed; a command that failed is tried again.
inline std::string capture(const std::string& command) {
    std::string out;
    for (int attempt = 0; attempt < 5; attempt++, sleepSeconds(0.05)) {
        out.clear();
        FILE* p = popen((command + " 2>/dev/null").c_str(), "r");
        if (p == nullptr)
            return out;
        char buffer[512];
        for (size_t n; (n = fread(buffer, 1, sizeof(buffer), p)) > 0;)
            out.append(buffer, n);
        if (pclose(p) == 0)
            break;
    }
    while (!out.empty() && out.back() == '\n')
        out.pop_back();
    return out;
}

// The real game binary, run in a scratch directory holding a copy of the
// data files and driven as a person would: real pointer moves, clicks and
// key presses into its window, and screenshots of it. Its sound is recorded
// into wavPath() from the first start on, its stderr into "stderr.txt".
class GameProcess {
public:
    GameProcess() {
        char templ[] = "/tmp/cornfield-e2e-XXXXXX";
        m_dir = mkdtemp(templ) != nullptr ? templ : "";
        std::error_code ignored;
        std::filesystem::copy_file(VQ_DATA_DIR "/vq-font.ttf", path("vq-font.ttf"), ignored);
        for (const char* folder : {"sprites", "sounds", "music"})
            std::filesystem::copy(std::filesystem::path(VQ_DATA_DIR) / folder, path(folder),
                                  std::filesystem::copy_options::recursive, ignored);
    }
    // Kills the game if it still runs and removes the scratch directory.
    ~GameProcess() {
        if (m_pid > 0) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
        m_p_capture.reset();
        if (!m_dir.empty())
            std::filesystem::remove_all(m_dir);
    }
    GameProcess(const GameProcess&) = delete;
    GameProcess& operator=(const GameProcess&) = delete;

    std::string path(const std::string& relative) const { return m_dir + "/" + relative; }
    std::string wavPath() const { return path("capture.wav"); }
    const std::string& error() const { return m_error; }
    const std::string& window() const { return m_window; }

    // Starts the binary and waits until its window is mapped; false, with
    // error() saying why, when it did not come up.
    bool start(double seconds = 15) {
        if (m_p_capture == nullptr) {
            m_p_capture = std::make_unique<vqtest::SoundCapture>(m_dir, wavPath(), 2);
            if (!m_p_capture->start()) {
                m_error = "sound capture: " + m_p_capture->error();
                return false;
            }
        }
        m_p_capture->apply(); // in this process: the game inherits its environment
        // The data is the scratch copy in the working directory, whatever the environment says.
        std::vector<std::string> command = {
            "env",           "-u", "CORNFIELD_DATA_DIR", "sh", "-c", "cd \"$0\" && exec \"$1\" 2>>stderr.txt", m_dir,
            CORNFIELD_BINARY};
#if defined(__SANITIZE_ADDRESS__)
        // The system GL driver leaves allocations behind when a process with a
        // window exits; the game's own leaks are checked by the headless soak,
        // so the leak check is off for the binary played here.
        const char* p_options = getenv("ASAN_OPTIONS");
        const std::string options = p_options != nullptr ? p_options : "";
        command.insert(command.begin(), {"env", "ASAN_OPTIONS=" + options + ":detect_leaks=0"});
#endif
        m_pid = vqtest::process::spawn(command);
        // The engine does not put its process id on the window; these tests
        // run alone, so the title finds it.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        while (m_pid > 0 && std::chrono::steady_clock::now() < deadline && waitForExit(0) == -1) {
            const std::string found = capture("xdotool search --onlyvisible --name '^Velloq$'");
            if (!found.empty()) {
                m_window = found.substr(0, found.find('\n'));
                capture("xdotool windowfocus --sync " + m_window); // keys go to the focused window
                return true;
            }
            sleepSeconds(0.1);
        }
        m_error = "no window";
        return false;
    }

    void signal(int signal_number) const { kill(m_pid, signal_number); }

    void pressKey(const std::string& keysym) const {
        capture("xdotool windowfocus --sync " + m_window + " key " + keysym);
    }
    // Pixel coordinates inside the window.
    void moveMouse(int x, int y) const {
        capture("xdotool mousemove --sync --window " + m_window + " " + std::to_string(x) + " " + std::to_string(y));
    }
    void click() const { capture("xdotool click 1"); }
    // Asks the window to close, as the title bar's close button does.
    void closeWindow() const {
        Display* p_display = XOpenDisplay(nullptr);
        if (p_display == nullptr)
            return;
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = static_cast<Window>(std::stoul(m_window));
        event.xclient.message_type = XInternAtom(p_display, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(XInternAtom(p_display, "WM_DELETE_WINDOW", False));
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(p_display, event.xclient.window, False, NoEventMask, &event);
        XCloseDisplay(p_display); // flushes
    }
    sf::Image screenshot() const {
        capture("import -window " + m_window + " " + path("shot.png"));
        sf::Image image;
        return image.loadFromFile(path("shot.png")) ? image : sf::Image(); // no picture: nothing shown
    }
    // The exit status once the process ended, -1 on timeout, -2 when killed by a signal.
    int waitForExit(double seconds) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        for (int status = 0; m_pid > 0; sleepSeconds(0.05)) {
            if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_pid = -1;
                m_status = WIFEXITED(status) ? WEXITSTATUS(status) : -2;
            } else if (std::chrono::steady_clock::now() >= deadline) {
                return -1;
            }
        }
        return m_status;
    }

private:
    std::string m_dir, m_window, m_error;
    pid_t m_pid = -1;
    int m_status = -1;
    std::unique_ptr<vqtest::SoundCapture> m_p_capture;
};

} // namespace e2e

#endif
