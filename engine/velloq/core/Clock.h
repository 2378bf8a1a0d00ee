#ifndef VQ_CORE_CLOCK_H
#define VQ_CORE_CLOCK_H

#include <cstdint>

namespace vq {

// Microsecond stopwatch used to pace the game loop. It runs on the monotonic
// clock: setting the time of day, forward or back, does not move it.
class Clock {
public:
    Clock();

    // Microseconds since the previous time, which becomes now.
    int64_t delta();

    // Microseconds since the previous time, leaving it unchanged.
    int64_t split() const;

private:
    int64_t m_previous_time;
};

} // namespace vq

#endif
