#ifndef VQ_DISPLAY_FRAMECAPTURE_H
#define VQ_DISPLAY_FRAMECAPTURE_H

// Private to the display sources and their tests: a way to see the pixels of
// a frame, which are gone once the window shows them and clears.

namespace sf {
class Image;
}

namespace vq {
namespace priv {

// While set, every swapBuffers copies the finished frame into *p_image just
// before showing it. Null stops copying.
void setFrameCapture(sf::Image* p_image);

} // namespace priv
} // namespace vq

#endif
