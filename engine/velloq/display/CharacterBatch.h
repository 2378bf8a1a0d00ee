#ifndef VQ_DISPLAY_CHARACTERBATCH_H
#define VQ_DISPLAY_CHARACTERBATCH_H

// Private to the display sources, their tests and benchmark.

#include <utility>

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Font.hpp>

#include <velloq/display/GlyphCache.h>
#include <velloq/display/PaintedArea.h>
#include <velloq/display/Quad.h>

namespace vq {
namespace priv {

// Turns the characters of one frame into its quads: for each character an
// opaque background block and its bold glyph, placed as drawing the
// character as its own rectangle and text places them, in call order.
// Where a block has the frame's clear colour it is cut down to what the
// frame painted before it there, or left out: elsewhere it would change
// nothing.
class CharacterBatch {
public:
    CharacterBatch();

    // The font must stay alive and unchanged while characters are added and
    // their quads drawn; null for none. Starts an empty frame.
    void setFont(const sf::Font* p_font, unsigned character_size);
    void setCellSize(float width, float height);
    // The target in pixels; starts an empty frame.
    void setTargetSize(unsigned width, unsigned height);

    // Empties the frame; it will be drawn over `clear`, or over pixels not
    // known (the first frame of a window).
    void startFrame(sf::Color clear);
    void startFrameOverUnknown();
    // Queues a character at (x, y) in pixels, its glyph in `color` over a
    // block in `background`. False (nothing queued) without a font.
    bool add(float x, float y, char ch, sf::Color color, sf::Color background);

    const QuadFrame& frame() const { return m_frame; }
    // Swaps the frame with `other`; start a frame before adding again.
    void swapFrame(QuadFrame& other) { std::swap(m_frame, other); }
    // The texture the quads sample; null without a font.
    const sf::Texture* texture() const { return m_glyphs.texture(); }

private:
    void start();

    GlyphCache m_glyphs;
    PaintedArea m_painted;
    float m_cell_width;
    float m_cell_height;
    QuadFrame m_frame;
};

} // namespace priv
} // namespace vq

#endif
