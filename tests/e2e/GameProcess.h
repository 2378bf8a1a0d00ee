#ifndef VQ_TESTS_E2E_GAMEPROCESS_H
#define VQ_TESTS_E2E_GAMEPROCESS_H

#include <sys/types.h>

#include <memory>
#include <string>

#include <SFML/Graphics/Image.hpp>

#include "SoundCapture.h"

namespace e2e {

// The real game binary, run in a scratch directory holding a copy of the
// data files and driven as a person would: real pointer moves, clicks and
// key presses into its window, and screenshots of it. Its sound is recorded
// into wavPath() from the first start on.
class GameProcess {
public:
    GameProcess();
    // Kills the game if it still runs and removes the scratch directory.
    ~GameProcess();
    GameProcess(const GameProcess&) = delete;
    GameProcess& operator=(const GameProcess&) = delete;

    std::string path(const std::string& relative) const { return m_dir + "/" + relative; }
    std::string wavPath() const { return path("capture.wav"); }
    // Starts the binary and waits until its window is mapped; false, with
    // error() saying why, when it did not come up.
    bool start(double seconds = 15);
    const std::string& error() const { return m_error; }
    const std::string& window() const { return m_window; }

    void pressKey(const std::string& keysym) const;
    // Pixel coordinates inside the window.
    void moveMouse(int x, int y) const;
    void click() const;
    // Asks the window to close, as the title bar's close button does.
    void closeWindow() const;
    sf::Image screenshot() const;
    // The exit status once the process ended, -1 on timeout, -2 when killed by a signal.
    int waitForExit(double seconds);

private:
    std::string m_dir, m_window, m_error;
    pid_t m_pid = -1;
    int m_status = -1;
    std::unique_ptr<vqtest::SoundCapture> m_p_capture;
};

// Runs a shell command and returns what it printed, trailing newline removed.
std::string capture(const std::string& command);
void sleepSeconds(double seconds);

} // namespace e2e

#endif
