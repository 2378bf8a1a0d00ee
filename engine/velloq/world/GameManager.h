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

    // Starts log, world, display, input and resources in that order; a
    // manager already started is left as it is. A log that cannot be opened
    // is no reason to stop: the game plays on without one. From here to
    // shutDown, SIGTERM, SIGINT and SIGHUP end the loop as closing the
    // window does (a second one acts as usual).
    int startUp() override;
    // Stops the started ones in the reverse order and sets game over.
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

    // How long to sleep (microseconds) after a frame whose work took
    // loop_time, given the lateness carried over from the frame before:
    // never less than 0 nor more than one frame, whatever the clock said.
    static int64_t plannedSleep(int frame_time_ms, int64_t loop_time, int64_t sleep_adjustment);
    // How late the frame ended that worked loop_time and slept actual_sleep
    // (its target was one frame less the lateness carried into it), to be
    // made up by the next one. At most one frame: the rest of a long stop
    // is dropped, so the game slows for a moment but never races.
    static int64_t sleepAdjustment(int frame_time_ms, int64_t loop_time, int64_t actual_sleep,
                                   int64_t sleep_adjustment);

private:
    GameManager();

    bool m_game_over;
    int m_frame_time;
    int m_step_count;
};

} // namespace vq

#endif
