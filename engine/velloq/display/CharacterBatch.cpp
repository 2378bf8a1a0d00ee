#include <velloq/display/CharacterBatch.h>

namespace vq {
namespace priv {

CharacterBatch::CharacterBatch() : m_glyphs(), m_painted(), m_cell_width(0), m_cell_height(0), m_frame() {}

void CharacterBatch::setFont(const sf::Font* p_font, unsigned character_size) {
    m_glyphs.setFont(p_font, character_size);
    start();
}

void CharacterBatch::setCellSize(float width, float height) {
    m_cell_width = width;
    m_cell_height = height;
}

void CharacterBatch::setTargetSize(unsigned width, unsigned height) {
    m_painted.cover(width, height);
    start();
}

void CharacterBatch::start() {
    m_frame.quads.clear();
    m_painted.reset();
}

void CharacterBatch::startFrame(sf::Color clear) {
    start();
    m_frame.clear_known = true;
    m_frame.clear = clear;
}

void CharacterBatch::startFrameOverUnknown() {
    start();
    m_frame.clear_known = false;
}

bool CharacterBatch::add(float x, float y, char ch, sf::Color color, sf::Color background) {
    if (!m_glyphs.hasFont())
        return false;
    // Placed with the float arithmetic the reference drawing uses, so the
    // pixels come out the same.
    const float block_x = x - m_cell_width / 10, block_y = y + m_cell_height / 5;
    PaintedArea::Rect block{block_x, block_y, m_cell_width + block_x, m_cell_height + block_y};
    if (m_frame.clear_known && background == m_frame.clear)
        block = m_painted.within(block); // pixels nothing painted yet already hold this colour
    if (!block.empty()) {
        m_frame.quads.push_back(Quad::block(block.left, block.top, block.right, block.bottom, background));
        m_painted.mark(block);
    }
    const GlyphCache::Glyph& glyph = m_glyphs.glyph(ch);
    if (glyph.visible) {
        const Quad quad{x + glyph.left, y + glyph.top, x + glyph.right, y + glyph.bottom, color,
                        glyph.u1,       glyph.v1,      glyph.u2,        glyph.v2};
        m_frame.quads.push_back(quad);
        m_painted.mark(PaintedArea::Rect{quad.left, quad.top, quad.right, quad.bottom});
    }
    return true;
}

} // namespace priv
} // namespace vq
