#include <velloq/core/Clock.h>

#include <chrono>

namespace vq {

namespace {

int64_t nowMicroseconds() {
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

Clock::Clock() : m_previous_time(nowMicroseconds()) {}

int64_t Clock::delta() {
    const int64_t now = nowMicroseconds();
    const int64_t elapsed = now - m_previous_time;
    m_previous_time = now;
    return elapsed;
}

int64_t Clock::split() const { return nowMicroseconds() - m_previous_time; }

} // namespace vq
