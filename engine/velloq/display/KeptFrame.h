#ifndef VQ_DISPLAY_KEPTFRAME_H
#define VQ_DISPLAY_KEPTFRAME_H

// Private to the display sources.

#include <memory>

#include <SFML/Graphics/RenderTexture.hpp>
#include <SFML/Graphics/RenderWindow.hpp>

namespace vq {
namespace priv {

// A picture the size of a window, kept where the next frame can start from
// it: what a window holds after showing a frame is undefined. Frames are
// drawn into it pixel for pixel as they would be in the window (its pixels
// laid out like the window's, top row first, blue first), and it is copied
// into the window exactly, as a block of memory.
class KeptFrame {
public:
    KeptFrame();
    ~KeptFrame();

    // Readies a picture the size of the window. False where it cannot be
    // kept or copied (no render textures drawn in the window's own context,
    // no framebuffer copies): then nothing ever is.
    bool start(sf::RenderWindow& window);
    void stop();
    // Where to draw the picture, with the window's pixel coordinates.
    sf::RenderTarget& picture();
    // Copies the picture over the whole of the window's hidden buffer;
    // false where the driver would not switch to it or back.
    bool show(sf::RenderWindow& window);

private:
    struct Copier;
    std::unique_ptr<sf::RenderTexture> m_p_picture;
    std::unique_ptr<Copier> m_p_copier;
};

} // namespace priv
} // namespace vq

#endif
