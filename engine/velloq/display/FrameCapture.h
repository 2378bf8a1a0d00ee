#ifndef VQ_DISPLAY_FRAMECAPTURE_H
#define VQ_DISPLAY_FRAMECAPTURE_H

// Private to the display sources, their tests and benchmarks: a way to see
// the pixels of a frame, which are gone once the window shows them and
// clears, and to see and switch how frames are brought to the window.

#include <cstddef>

namespace sf {
class Image;
}

namespace vq {
namespace priv {

// While set, every swapBuffers copies the finished frame into *p_image just
// before showing it. Null stops copying.
void setFrameCapture(sf::Image* p_image);

// How the frames shown since the display started were made: drawn whole,
// brought up to date from a copy of the frame before, or that copy shown
// again unchanged.
struct FrameCounts {
    std::size_t drawn = 0;
    std::size_t updated = 0;
    std::size_t reused = 0;
};
FrameCounts frameCounts();

// While false (true by default), every frame is drawn whole and nothing is
// kept from one frame for the next.
void setFrameReuse(bool enabled);

} // namespace priv
} // namespace vq

#endif
