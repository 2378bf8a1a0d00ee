#include <velloq/world/GameManager.h>

#include <algorithm>
#include <csignal>
#include <ctime>

#include <velloq/core/Clock.h>
#include <velloq/core/EventStep.h>
#include <velloq/core/LogManager.h>
#include <velloq/display/DisplayManager.h>
#include <velloq/input/InputManager.h>
#include <velloq/resources/ResourceManager.h>
#include <velloq/world/WorldManager.h>

namespace vq {

namespace {

// The signals that end the loop, the one that arrived (0 for none), and
// what they did before the engine caught them.
const int ENDING_SIGNALS[] = {SIGTERM, SIGINT, SIGHUP};
const int ENDING_SIGNAL_COUNT = 3;
volatile std::sig_atomic_t caught_signal = 0;
bool catching_signals = false;
struct sigaction previous_actions[ENDING_SIGNAL_COUNT];

void catchSignal(int signal_number) { caught_signal = signal_number; }

void catchEndingSignals() {
    caught_signal = 0;
    if (catching_signals)
        return;
    struct sigaction catcher = {};
    catcher.sa_handler = catchSignal;
    sigemptyset(&catcher.sa_mask);
    // A second signal acts as usual, should the shut-down hang.
    catcher.sa_flags = SA_RESETHAND | SA_RESTART;
    for (int i = 0; i < ENDING_SIGNAL_COUNT; i++)
        sigaction(ENDING_SIGNALS[i], &catcher, &previous_actions[i]);
    catching_signals = true;
}

void releaseEndingSignals() {
    if (!catching_signals)
        return;
    for (int i = 0; i < ENDING_SIGNAL_COUNT; i++)
        sigaction(ENDING_SIGNALS[i], &previous_actions[i], nullptr);
    catching_signals = false;
}

const char* signalName(int signal_number) {
    return signal_number == SIGTERM ? "SIGTERM" : signal_number == SIGINT ? "SIGINT" : "SIGHUP";
}

} // namespace

GameManager::GameManager() : m_game_over(false), m_frame_time(FRAME_TIME_DEFAULT), m_step_count(0) {
    setType("GameManager");
    LogManager::getInstance().setStepCountSource([] { return GameManager::getInstance().getStepCount(); });
}

GameManager& GameManager::getInstance() {
    static GameManager instance;
    return instance;
}

int GameManager::startUp() {
    // The order matters: input polls the display's window and refuses to start
    // without it; resources come last.
    Manager* const start_order[] = {&LogManager::getInstance(), &WorldManager::getInstance(),
                                    &DisplayManager::getInstance(), &InputManager::getInstance(),
                                    &ResourceManager::getInstance()};
    // Caught from the start: one arriving before the loop runs ends it at once.
    catchEndingSignals();
    for (Manager* p_manager : start_order) {
        if (p_manager->isStarted())
            continue;
        // The log has said why on stderr: that is all it can do.
        if (p_manager->startUp() != 0 && p_manager != &LogManager::getInstance())
            return -1;
    }
    m_game_over = false;
    return Manager::startUp();
}

int GameManager::shutDown() {
    Manager* const stop_order[] = {&ResourceManager::getInstance(), &InputManager::getInstance(),
                                   &DisplayManager::getInstance(), &WorldManager::getInstance(),
                                   &LogManager::getInstance()};
    releaseEndingSignals();
    // One that never started (after a failed start) has nothing to stop.
    for (Manager* p_manager : stop_order)
        if (p_manager->isStarted() && p_manager->shutDown() != 0)
            return -1;
    setGameOver(true);
    return Manager::shutDown();
}

void GameManager::step() {
    LogManager::getInstance().writeLog(0, "Step %i", m_step_count);
    InputManager::getInstance().getInput();
    const EventStep step_event(m_step_count);
    onEvent(&step_event);
    WorldManager& world = WorldManager::getInstance();
    world.update();
    world.draw();
    DisplayManager::getInstance().swapBuffers();
    m_step_count++;
}

int64_t GameManager::plannedSleep(int frame_time_ms, int64_t loop_time, int64_t sleep_adjustment) {
    const int64_t frame = static_cast<int64_t>(frame_time_ms) * 1000;
    return std::clamp(frame - loop_time - sleep_adjustment, int64_t{0}, frame);
}

int64_t GameManager::sleepAdjustment(int frame_time_ms, int64_t loop_time, int64_t actual_sleep,
                                     int64_t sleep_adjustment) {
    const int64_t frame = static_cast<int64_t>(frame_time_ms) * 1000;
    return std::clamp(loop_time + actual_sleep - (frame - sleep_adjustment), int64_t{0}, frame);
}

void GameManager::run() {
    Clock clock;
    int64_t adjust_time = 0;
    while (!m_game_over) {
        clock.delta();
        step();
        const int64_t loop_time = clock.split();
        const int64_t intended_sleep = plannedSleep(m_frame_time, loop_time, adjust_time);
        clock.delta();
        if (intended_sleep > 0) {
            struct timespec sleep_time;
            sleep_time.tv_sec = static_cast<time_t>(intended_sleep / 1000000);
            sleep_time.tv_nsec = static_cast<long>((intended_sleep % 1000000) * 1000);
            nanosleep(&sleep_time, nullptr);
        }
        adjust_time = sleepAdjustment(m_frame_time, loop_time, clock.split(), adjust_time);
        if (caught_signal != 0 && !m_game_over) {
            LogManager::getInstance().writeLog(1, "Ending on %s", signalName(caught_signal));
            setGameOver(true);
        }
    }
    shutDown();
}

void GameManager::setGameOver(bool game_over) {
    m_game_over = game_over;
    if (game_over)
        LogManager::getInstance().writeLog(1, "Game over");
    else
        LogManager::getInstance().writeLog(1, "Game no longer over");
}

bool GameManager::getGameOver() const { return m_game_over; }
int GameManager::getFrameTime() const { return m_frame_time; }
int GameManager::getStepCount() const { return m_step_count; }

} // namespace vq
