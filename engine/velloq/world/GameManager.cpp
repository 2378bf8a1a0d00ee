#include <velloq/world/GameManager.h>

#include <ctime>

#include <velloq/core/Clock.h>
#include <velloq/core/EventStep.h>
#include <velloq/core/LogManager.h>
#include <velloq/display/DisplayManager.h>
#include <velloq/input/InputManager.h>
#include <velloq/resources/ResourceManager.h>
#include <velloq/world/WorldManager.h>

namespace vq {

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
    for (Manager* p_manager : start_order)
        if (p_manager->startUp() != 0)
            return -1;
    m_game_over = false;
    return Manager::startUp();
}

int GameManager::shutDown() {
    Manager* const stop_order[] = {&ResourceManager::getInstance(), &InputManager::getInstance(),
                                   &DisplayManager::getInstance(), &WorldManager::getInstance(),
                                   &LogManager::getInstance()};
    for (Manager* p_manager : stop_order)
        if (p_manager->shutDown() != 0)
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
    return static_cast<int64_t>(frame_time_ms * 1000) - loop_time - sleep_adjustment;
}

int64_t GameManager::sleepAdjustment(int64_t actual_sleep, int64_t planned_sleep) {
    const int64_t adjustment = actual_sleep - planned_sleep;
    return adjustment < 0 ? 0 : adjustment;
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
            // Frames are far below a second, but keep the fields valid anyway.
            struct timespec sleep_time;
            sleep_time.tv_sec = static_cast<time_t>(intended_sleep / 1000000);
            sleep_time.tv_nsec = static_cast<long>((intended_sleep % 1000000) * 1000);
            nanosleep(&sleep_time, nullptr);
        }
        adjust_time = sleepAdjustment(clock.split(), intended_sleep);
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
