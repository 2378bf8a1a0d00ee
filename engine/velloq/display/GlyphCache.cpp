#include <velloq/display/GlyphCache.h>

#include <velloq/display/SfmlCompat.h>

namespace vq {
namespace priv {

namespace {
// Text drawing widens each glyph quad by this many pixels (and texels).
const float GLYPH_PADDING = 1.0f;
} // namespace

GlyphCache::GlyphCache() : m_p_font(nullptr), m_character_size(0), m_glyphs() {}

void GlyphCache::setFont(const sf::Font* p_font, unsigned character_size) {
    m_p_font = p_font;
    m_character_size = character_size;
    m_glyphs.fill(Glyph());
}

const sf::Texture* GlyphCache::texture() const {
    return m_p_font != nullptr ? &m_p_font->getTexture(m_character_size) : nullptr;
}

const GlyphCache::Glyph& GlyphCache::glyph(char ch) {
    Glyph& quad = m_glyphs[static_cast<unsigned char>(ch)];
    if (quad.loaded)
        return quad;
    quad.loaded = true;
    // The same char-to-code-point conversion text drawing uses.
    const sf::String text(ch);
    const auto code_point = text[0];
    const bool control = code_point < U' ' || code_point == U'\x7f';
    if (code_point == U' ' || code_point == U'\n' || code_point == U'\t' || code_point == U'\r' ||
        (control && !TEXT_DRAWS_CONTROL_CHARACTERS)) {
        quad.visible = false;
        return quad;
    }
    const sf::Glyph& glyph = m_p_font->getGlyph(code_point, m_character_size, true);
    quad.visible = true;
    // Relative to the text origin: text puts its first glyph on the baseline
    // one character size down, with no kerning before it. The sums are
    // grouped as text drawing groups them, so they round the same.
    const float baseline = static_cast<float>(m_character_size);
    quad.left = rectLeft(glyph.bounds) - GLYPH_PADDING;
    quad.top = baseline + (rectTop(glyph.bounds) - GLYPH_PADDING);
    quad.right = rectLeft(glyph.bounds) + rectWidth(glyph.bounds) + GLYPH_PADDING;
    quad.bottom = baseline + (rectTop(glyph.bounds) + rectHeight(glyph.bounds) + GLYPH_PADDING);
    quad.u1 = static_cast<float>(rectLeft(glyph.textureRect)) - GLYPH_PADDING;
    quad.v1 = static_cast<float>(rectTop(glyph.textureRect)) - GLYPH_PADDING;
    quad.u2 = static_cast<float>(rectLeft(glyph.textureRect) + rectWidth(glyph.textureRect)) + GLYPH_PADDING;
    quad.v2 = static_cast<float>(rectTop(glyph.textureRect) + rectHeight(glyph.textureRect)) + GLYPH_PADDING;
    return quad;
}

} // namespace priv
} // namespace vq
