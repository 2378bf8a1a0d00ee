#include "display/WindowProbe.h"

// Kept apart from the other sources: Xlib's macros (None, Status, ...) clash
// with SFML's names.
#ifdef VQ_CHECK_X11_DISPLAY
#include <X11/Xlib.h>
#endif

namespace vq {
namespace priv {

bool canOpenWindow() {
#ifdef VQ_CHECK_X11_DISPLAY
    Display* p_display = XOpenDisplay(nullptr);
    if (p_display == nullptr)
        return false;
    XCloseDisplay(p_display);
#endif
    return true;
}

} // namespace priv
} // namespace vq
