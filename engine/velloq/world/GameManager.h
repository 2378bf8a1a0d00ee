#ifndef VQ_WORLD_GAMEMANAGER_H
#define VQ_WORLD_GAMEMANAGER_H

#include <cstdint>

#include <velloq/core/Manager.h>

namespace vq {

const int FRAME_TIME_DEFAULT = 33; // milliseconds per step, about 30 steps per second

// Starts and stops the other managers and runs the fixed-rate game loop.
class GameManager : public Manager {
public:
    static GameManager& getInstance();

    // Starts log, world, display, input and resources in that order.
    int startUp() override;
    // Stops them in the reverse order and sets game over.
    int shutDown() override;

    // Runs the loop until game over, then shuts the engine down.
    void run();

    // One iteration without pacing: input, step event, world update, draw and
    // swap, then the step count goes up. Tests drive the game through this.
    void step();

    void setGameOver(bool game_over = true);
    bool getGameOver() const;
    int getFrameTime() const;
    int getStepCount() const;

    // How long to sleep (microseconds) after a frame whose work took loop_time,
    // given the error carried over from the previous sleep.
    static int64_t plannedSleep(int frame_time_ms, int64_t loop_time, int64_t sleep_adjustment);
    // The error a sleep leaves for the next frame: oversleeping only.
    static int64_t sleepAdjustment(int64_t actual_sleep, int64_t planned_sleep);

private:
    GameManager();

    bool m_game_over;
    int m_frame_time;
    int m_step_count;
};

} // namespace vq

#endif
