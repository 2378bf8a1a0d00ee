#include <velloq/display/WindowProbe.h>

#include <ctime>

// Kept apart from the other sources: Xlib's macros (None, Status, ...) clash
// with SFML's names.
#ifdef VQ_CHECK_X11_DISPLAY
#include <X11/Xlib.h>
#endif

namespace vq {
namespace priv {

namespace {
const int CONNECT_ATTEMPTS = 20;
const long RETRY_PAUSE_NS = 10 * 1000 * 1000; // 10 ms, so 200 ms at most
} // namespace

WindowSystemProbe::WindowSystemProbe() : m_p_connection(nullptr), m_reachable(true), m_depth(0) {
#ifdef VQ_CHECK_X11_DISPLAY
    for (int attempt = 0; attempt < CONNECT_ATTEMPTS && m_p_connection == nullptr; attempt++) {
        if (attempt > 0) {
            const struct timespec pause = {0, RETRY_PAUSE_NS};
            nanosleep(&pause, nullptr);
        }
        m_p_connection = XOpenDisplay(nullptr);
    }
    m_reachable = m_p_connection != nullptr;
    if (m_reachable) {
        Display* p_display = static_cast<Display*>(m_p_connection);
        m_depth = static_cast<unsigned>(DefaultDepth(p_display, DefaultScreen(p_display)));
    }
#endif
}

WindowSystemProbe::~WindowSystemProbe() {
#ifdef VQ_CHECK_X11_DISPLAY
    if (m_p_connection != nullptr)
        XCloseDisplay(static_cast<Display*>(m_p_connection));
#endif
}

bool WindowSystemProbe::reachable() const { return m_reachable; }
unsigned WindowSystemProbe::depth() const { return m_depth; }

bool WindowSystemProbe::checks() {
#ifdef VQ_CHECK_X11_DISPLAY
    return true;
#else
    return false;
#endif
}

} // namespace priv
} // namespace vq
