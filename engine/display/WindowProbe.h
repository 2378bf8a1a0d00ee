#ifndef VQ_DISPLAY_WINDOWPROBE_H
#define VQ_DISPLAY_WINDOWPROBE_H

namespace vq {
namespace priv {

// Whether a window can be opened at all. SFML ends the process when the X
// server cannot be reached, so the display asks first.
bool canOpenWindow();

} // namespace priv
} // namespace vq

#endif
