#include <velloq/core/Clock.h>

#include <sys/time.h>

namespace vq {

namespace {

// Current time in microseconds, or -1 when it cannot be read.
int64_t nowMicroseconds() {
    struct timeval tv;
    if (gettimeofday(&tv, nullptr) != 0)
        return -1;
    return static_cast<int64_t>(tv.tv_sec) * 1000000 + tv.tv_usec;
}

} // namespace

Clock::Clock() : m_previous_time(nowMicroseconds()) {}

int64_t Clock::delta() {
    const int64_t now = nowMicroseconds();
    if (now < 0)
        return -1;
    const int64_t elapsed = now - m_previous_time;
    m_previous_time = now;
    return elapsed;
}

int64_t Clock::split() const {
    const int64_t now = nowMicroseconds();
    if (now < 0)
        return -1;
    return now - m_previous_time;
}

} // namespace vq
