#ifndef VQ_DISPLAY_QUADPAINTER_H
#define VQ_DISPLAY_QUADPAINTER_H

// Private to the display sources, their tests and benchmark.

#include <vector>

#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/Texture.hpp>
#include <SFML/Graphics/Vertex.hpp>

#include <velloq/display/Quad.h>

namespace vq {
namespace priv {

// Draws quads as the two triangles text drawing makes of each, all in one
// draw call over the glyph texture.
class QuadPainter {
public:
    void add(const Quad& quad);
    // The quad's area, opaque in `fill`: the same corners cover the same pixels.
    void addFill(const Quad& area, sf::Color fill) {
        add(Quad::block(area.left, area.top, area.right, area.bottom, fill));
    }
    void addAll(const std::vector<Quad>& quads);
    // Draws what was added, in order, then starts empty again. Nothing is
    // drawn without a texture.
    void draw(sf::RenderTarget& target, const sf::Texture* p_texture);
    void drawAll(sf::RenderTarget& target, const std::vector<Quad>& quads, const sf::Texture* p_texture) {
        addAll(quads);
        draw(target, p_texture);
    }

private:
    std::vector<sf::Vertex> m_vertices;
};

} // namespace priv
} // namespace vq

#endif
