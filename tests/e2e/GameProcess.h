#ifndef CORNFIELD_TESTS_E2E_GAMEPROCESS_H
#define CORNFIELD_TESTS_E2E_GAMEPROCESS_H

#include <sys/types.h>

#include <memory>
#include <string>

#include <SFML/Graphics/Image.hpp>

#include "SoundCapture.h"

namespace e2e {

// The real game binary running in a scratch directory that holds a copy of
// the data files, driven the way a person would: real pointer moves, clicks
// and key presses into its window, and screenshots of it. Its sound goes
// into a WAV file (SoundCapture).
class GameProcess {
public:
    // Prepares a fresh scratch directory with the data files.
    GameProcess();
    // Kills the game if it still runs and removes the scratch directory.
    ~GameProcess();
    GameProcess(const GameProcess&) = delete;
    GameProcess& operator=(const GameProcess&) = delete;

    const std::string& dir() const { return m_dir; }
    std::string path(const std::string& relative) const { return m_dir + "/" + relative; }
    std::string wavPath() const { return path("capture.wav"); }

    // Starts the binary, listening from the first start on; false, with
    // error() saying why, when it could not be started.
    bool start();
    const std::string& error() const { return m_error; }
    // Waits until the game's window is mapped; false on timeout or exit.
    bool waitForWindow(double seconds);
    const std::string& window() const { return m_window; }

    void pressKey(const std::string& keysym) const;
    // Pixel coordinates inside the window.
    void moveMouse(int x, int y) const;
    void click() const;
    // Asks the window to close, as the title bar's close button does.
    void closeWindow() const;
    sf::Image screenshot() const;

    // The exit status once the process ended, -1 on timeout, -2 when killed
    // by a signal.
    int waitForExit(double seconds);
    bool running() const { return m_pid > 0; }

private:
    std::string m_dir;
    std::string m_window;
    std::string m_error;
    pid_t m_pid = -1;
    std::unique_ptr<vqtest::SoundCapture> m_p_capture;
};

// Runs a shell command and returns what it printed, trailing newline removed.
std::string capture(const std::string& command);
void sleepSeconds(double seconds);

} // namespace e2e

#endif
