#ifndef VQ_DISPLAY_QUAD_H
#define VQ_DISPLAY_QUAD_H

// Private to the display sources, their tests and benchmark.

#include <vector>

#include <SFML/Graphics/Color.hpp>

namespace vq {
namespace priv {

// The 2 x 2 white square SFML keeps at the top left of every glyph texture
// (for underlines): sampling its centre gives opaque white, so blocks share
// the glyphs' texture and draw call.
const float WHITE_TEXEL = 1.0f;

// One rectangle of a frame: where it lands in pixels, its colour, and where
// it samples the glyph texture (in texels). A block samples only the white
// texel, so it is opaque in its colour.
struct Quad {
    float left, top, right, bottom;
    sf::Color color;
    float u1, v1, u2, v2;

    static Quad block(float left, float top, float right, float bottom, sf::Color color) {
        return Quad{left, top, right, bottom, color, WHITE_TEXEL, WHITE_TEXEL, WHITE_TEXEL, WHITE_TEXEL};
    }
    bool operator==(const Quad& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom && color == o.color &&
               u1 == o.u1 && v1 == o.v1 && u2 == o.u2 && v2 == o.v2;
    }
    bool operator!=(const Quad& o) const { return !(*this == o); }
};

// A frame as quads in drawing order, later ones over earlier ones, and the
// colour the picture held before the first of them: the clear colour, which
// is not known for the first frame of a new window.
struct QuadFrame {
    std::vector<Quad> quads;
    bool clear_known = false;
    sf::Color clear;
};

} // namespace priv
} // namespace vq

#endif
