#include "GameProcess.h"

#include <sys/wait.h>
#include <unistd.h>

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

void sleepSeconds(double seconds) { std::this_thread::sleep_for(std::chrono::duration<double>(seconds)); }

GameProcess::GameProcess() {
    char templ[] = "/tmp/cornfield-e2e-XXXXXX";
    if (mkdtemp(templ) == nullptr)
        return;
    m_dir = templ;
    fs::copy_file(VQ_DATA_DIR "/vq-font.ttf", path("vq-font.ttf"));
    for (const char* folder : {"sprites", "sounds", "music"})
        fs::copy(fs::path(VQ_DATA_DIR) / folder, path(folder), fs::copy_options::recursive);
}

GameProcess::~GameProcess() {
    if (m_pid > 0) {
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
    }
    m_p_capture.reset();
    if (!m_dir.empty())
        fs::remove_all(m_dir);
}

bool GameProcess::start(double seconds) {
    if (m_p_capture == nullptr) {
        m_p_capture = std::make_unique<vqtest::SoundCapture>(m_dir, wavPath(), 2);
        if (!m_p_capture->start()) {
            m_error = "sound capture: " + m_p_capture->error();
            return false;
        }
    }
    m_pid = fork();
    if (m_pid == 0) {
        if (chdir(m_dir.c_str()) != 0)
            _exit(127);
        m_p_capture->apply();
#if defined(__SANITIZE_ADDRESS__)
        // The system GL driver leaves allocations behind when a process with
        // a window exits; the game's own leaks are checked by the headless
        // soak, so the leak check is left out for the binary played here.
        const char* p_options = getenv("ASAN_OPTIONS");
        setenv("ASAN_OPTIONS", (std::string(p_options != nullptr ? p_options : "") + ":detect_leaks=0").c_str(), 1);
#endif
        execl(CORNFIELD_BINARY, CORNFIELD_BINARY, static_cast<char*>(nullptr));
        _exit(127);
    }
    // The engine does not put its process id on the window; these tests run
    // alone, so the title finds it.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (m_pid > 0 && std::chrono::steady_clock::now() < deadline) {
        if (waitForExit(0) != -1)
            break; // ended without a window
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

void GameProcess::pressKey(const std::string& keysym) const {
    capture("xdotool windowfocus --sync " + m_window + " key " + keysym);
}

void GameProcess::moveMouse(int x, int y) const {
    capture("xdotool mousemove --sync --window " + m_window + " " + std::to_string(x) + " " + std::to_string(y));
}

void GameProcess::click() const { capture("xdotool click 1"); }

void GameProcess::closeWindow() const {
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
    XFlush(p_display);
    XCloseDisplay(p_display);
}

sf::Image GameProcess::screenshot() const {
    capture("import -window " + m_window + " " + path("shot.png"));
    sf::Image image;
    return image.loadFromFile(path("shot.png")) ? image : sf::Image(); // no picture: nothing shown
}

int GameProcess::waitForExit(double seconds) {
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

} // namespace e2e
