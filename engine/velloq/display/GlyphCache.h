#ifndef VQ_DISPLAY_GLYPHCACHE_H
#define VQ_DISPLAY_GLYPHCACHE_H

// Private to the display sources.

#include <array>

#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/Texture.hpp>

namespace vq {
namespace priv {

// Where each character's bold glyph sits relative to the character's
// position and where it lies in the font's texture, both widened by the one
// pixel of padding text drawing adds around each glyph; looked up once per
// character.
class GlyphCache {
public:
    struct Glyph {
        bool loaded = false;
        bool visible = false; // whitespace and carriage returns draw no glyph
        float left = 0, top = 0, right = 0, bottom = 0;
        float u1 = 0, v1 = 0, u2 = 0, v2 = 0;
    };

    GlyphCache();
    // The font must stay alive and unchanged while glyphs are looked up;
    // null for none.
    void setFont(const sf::Font* p_font, unsigned character_size);
    bool hasFont() const { return m_p_font != nullptr; }
    // Needs a font.
    const Glyph& glyph(char ch);
    // The texture glyphs are sampled from; null without a font.
    const sf::Texture* texture() const;

private:
    const sf::Font* m_p_font;
    unsigned m_character_size;
    std::array<Glyph, 256> m_glyphs;
};

} // namespace priv
} // namespace vq

#endif
