#ifndef VQ_DISPLAY_KEPTFRAME_H
#define VQ_DISPLAY_KEPTFRAME_H

// Private to the display sources.

#include <memory>

#include <SFML/Graphics.hpp>

namespace vq {
namespace priv {

// The picture last shown in a window, kept where the next frame can start
// from it: what a window holds after showing a frame is undefined. Frames
// are drawn into it pixel for pixel as they would be in the window (its
// pixels laid out like the window's, top row first, blue first), and it is
// copied to the window exactly: a shader only fetches its texels, with no
// blending.
class KeptFrame {
public:
    KeptFrame();

    // Readies a picture the size of the window. False where it cannot be
    // kept (no shaders, no render textures): then nothing ever is.
    bool start(sf::RenderWindow& window);
    void stop();
    bool usable() const { return m_usable; }

    // Where to draw the kept picture, with the window's pixel coordinates.
    sf::RenderTarget& picture();
    // The picture now holds a frame drawn over `clear`.
    void keep(sf::Color clear);
    void forget() { m_kept = false; }
    // It holds a frame drawn over `clear`.
    bool holds(sf::Color clear) const { return m_kept && m_clear == clear; }
    // Covers the whole window with the picture.
    void show(sf::RenderTarget& window);

private:
    std::unique_ptr<sf::RenderTexture> m_p_picture;
    std::unique_ptr<sf::Shader> m_p_shader;
    sf::Vertex m_corners[6];
    bool m_usable;
    bool m_kept;
    sf::Color m_clear;
};

} // namespace priv
} // namespace vq

#endif
