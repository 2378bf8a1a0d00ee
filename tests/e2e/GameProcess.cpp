#include "GameProcess.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include <X11/Xlib.h>

namespace fs = std::filesystem;

namespace e2e {

std::string capture(const std::string& command) {
    std::string out;
    // The X server now and then refuses a connection made right after
    // another one closed; a command that failed is tried again.
    for (int attempt = 0; attempt < 5; attempt++) {
        out.clear();
        FILE* p = popen(command.c_str(), "r");
        if (p == nullptr)
            return out;
        char buffer[512];
        size_t n;
        while ((n = fread(buffer, 1, sizeof(buffer), p)) > 0)
            out.append(buffer, n);
        if (pclose(p) == 0)
            break;
        sleepSeconds(0.05);
    }
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r'))
        out.pop_back();
    return out;
}

void sleepSeconds(double seconds) { std::this_thread::sleep_for(std::chrono::duration<double>(seconds)); }

GameProcess::GameProcess() {
    char templ[] = "/tmp/cornfield-e2e-XXXXXX";
    if (mkdtemp(templ) == nullptr)
        return;
    m_dir = templ;
    const fs::path data(VQ_DATA_DIR);
    fs::copy_file(data / "vq-font.ttf", fs::path(m_dir) / "vq-font.ttf");
    for (const char* folder : {"sprites", "sounds", "music"})
        fs::copy(data / folder, fs::path(m_dir) / folder, fs::copy_options::recursive);
}

GameProcess::~GameProcess() {
    if (m_pid > 0) {
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
    }
    m_p_capture.reset();
    std::error_code ignored;
    if (!m_dir.empty())
        fs::remove_all(m_dir, ignored);
}

bool GameProcess::start() {
    if (m_dir.empty()) {
        m_error = "no scratch directory";
        return false;
    }
    if (m_p_capture == nullptr) {
        m_p_capture = std::make_unique<vqtest::SoundCapture>(m_dir, wavPath(), 2);
        if (!m_p_capture->start()) {
            m_error = "sound capture: " + m_p_capture->error();
            return false;
        }
    }
    const pid_t pid = fork();
    if (pid < 0) {
        m_error = "fork failed";
        return false;
    }
    if (pid == 0) {
        if (chdir(m_dir.c_str()) != 0)
            _exit(127);
        m_p_capture->apply();
#if defined(__SANITIZE_ADDRESS__)
        // The system GL driver leaves allocations behind when a process with a
        // window exits; the game's own leaks are checked by the headless soak
        // tests, so the leak check is left out for the binary played here.
        const char* p_options = getenv("ASAN_OPTIONS");
        const std::string options = std::string(p_options != nullptr ? p_options : "") + ":detect_leaks=0";
        setenv("ASAN_OPTIONS", options.c_str(), 1);
#endif
        execl(CORNFIELD_BINARY, CORNFIELD_BINARY, static_cast<char*>(nullptr));
        _exit(127);
    }
    m_pid = pid;
    return true;
}

bool GameProcess::waitForWindow(double seconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    // The engine does not announce its process id on the window; these tests
    // run alone, so the title finds it.
    const std::string search = "xdotool search --onlyvisible --name '^Velloq$' 2>/dev/null";
    while (std::chrono::steady_clock::now() < deadline) {
        if (waitpid(m_pid, nullptr, WNOHANG) == m_pid) {
            m_pid = -1;
            return false;
        }
        const std::string found = capture(search);
        if (!found.empty()) {
            m_window = found.substr(0, found.find('\n'));
            // Keyboard input goes to the focused window.
            capture("xdotool windowfocus --sync " + m_window + " 2>/dev/null");
            return true;
        }
        sleepSeconds(0.1);
    }
    return false;
}

void GameProcess::pressKey(const std::string& keysym) const {
    capture("xdotool windowfocus --sync " + m_window + " key " + keysym + " 2>/dev/null");
}

void GameProcess::moveMouse(int x, int y) const {
    capture("xdotool mousemove --sync --window " + m_window + " " + std::to_string(x) + " " + std::to_string(y) +
            " 2>/dev/null");
}

void GameProcess::click() const { capture("xdotool click 1 2>/dev/null"); }

void GameProcess::closeWindow() const {
    Display* p_display = XOpenDisplay(nullptr);
    if (p_display == nullptr)
        return;
    const Window window = static_cast<Window>(std::stoul(m_window));
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(p_display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(p_display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(p_display, window, False, NoEventMask, &event);
    XFlush(p_display);
    XCloseDisplay(p_display);
}

sf::Image GameProcess::screenshot() const {
    const std::string file = path("shot.png");
    capture("import -window " + m_window + " " + file + " 2>/dev/null");
    sf::Image image;
    if (!image.loadFromFile(file))
        return sf::Image(); // no picture: compares as nothing shown
    return image;
}

int GameProcess::waitForExit(double seconds) {
    if (m_pid <= 0)
        return -1;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        const pid_t done = waitpid(m_pid, &status, WNOHANG);
        if (done == m_pid) {
            m_pid = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : -2;
        }
        sleepSeconds(0.05);
    }
    return -1;
}

} // namespace e2e
