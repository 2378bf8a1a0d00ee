#ifndef VQ_CORE_CLOCK_H
#define VQ_CORE_CLOCK_H

#include <cstdint>

namespace vq {

// Microsecond stopwatch on the wall clock, used to pace the game loop.
class Clock {
public:
    Clock();

    // Microseconds since the previous time, which becomes now; -1 (and no
    // change) when the time of day cannot be read.
    int64_t delta();

    // Microseconds since the previous time, leaving it unchanged; -1 on error.
    int64_t split() const;

private:
    int64_t m_previous_time;
};

} // namespace vq

#endif
