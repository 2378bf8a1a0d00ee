#ifndef VQ_DISPLAY_CHARACTERBATCH_H
#define VQ_DISPLAY_CHARACTERBATCH_H

// Private to the display sources, their tests and benchmark.

#include <array>
#include <cstdint>
#include <vector>

#include <SFML/Graphics.hpp>

namespace vq {
namespace priv {

// Collects the characters of one frame - each an opaque background block
// and a bold glyph - as triangles over the font's glyph texture, and draws
// them with a single draw call. The picture is the one drawing each
// character as its own rectangle and text gives (drawReference), blocks and
// glyphs in call order, later ones over earlier ones.
class CharacterBatch {
public:
    // One queued quad: where it lands in pixels, its colour, and where it
    // samples the glyph texture (in texels).
    struct Quad {
        float left, top, right, bottom;
        sf::Color color;
        float u1, v1, u2, v2;
        bool operator==(const Quad& other) const;
        bool operator!=(const Quad& other) const { return !(*this == other); }
    };

    CharacterBatch();

    // The font must stay alive and unchanged while characters are added and
    // drawn; null drops the font. Pending characters are forgotten.
    void setFont(const sf::Font* p_font, unsigned character_size);
    // Size of a background block in pixels.
    void setCellSize(float width, float height);
    // Size of the target, for the coverage tracking below.
    void setTargetSize(unsigned width, unsigned height);

    // The colour the target was last cleared to, when nothing but this batch
    // draws on it until the batch is drawn. Painting a block of that colour
    // then only matters where something was drawn earlier in the batch, so
    // such a block is cut down to that part, or left out when nothing was.
    // Unknown (the default) paints every block whole.
    void setClearColor(sf::Color color);
    void forgetClearColor();
    bool clearColorKnown() const { return m_clear_color_known; }
    sf::Color clearColor() const { return m_clear_color; }

    // Queues the character whose text origin is the pixel position (x, y):
    // its block at (x - width / 10, y + height / 5), then its glyph. Needs a
    // font; returns false without one.
    bool add(float x, float y, char ch, sf::Color color, sf::Color background);
    // Draws everything queued, in one call; the queue stays.
    void draw(sf::RenderTarget& target);
    // Brings a target that shows an earlier frame up to date in one call:
    // paints `fill` over the area of each quad in `erase`, then draws the
    // queued quads whose indices `redraw` lists (ascending) in queue order.
    void drawOver(sf::RenderTarget& target, const std::vector<Quad>& erase, sf::Color fill,
                  const std::vector<std::size_t>& redraw);
    // Empties the queue for the next frame.
    void clear();

    const std::vector<Quad>& getQuads() const;
    // Swaps the queue with `into`; the queue then holds what `into` held
    // until the next clear.
    void takeQuads(std::vector<Quad>& into);
    std::size_t getVertexCount() const;
    // Blocks left out since the last clear because they would change nothing.
    std::size_t getSkippedBlockCount() const;
    // Pixels of block painted since the last clear (areas, not coverage).
    double getBlockArea() const;

    // The same character drawn at once as its own rectangle and text, the
    // way the batch must look. For comparisons and measurements.
    static void drawReference(sf::RenderTarget& target, const sf::Font& font, unsigned character_size, float cell_width,
                              float cell_height, float x, float y, char ch, sf::Color color, sf::Color background);

private:
    // Where a character's glyph sits relative to its text origin, and where
    // it lies in the font texture, both widened by the one pixel of padding
    // text drawing adds around each glyph.
    struct GlyphQuad {
        bool loaded = false;
        bool visible = false; // whitespace and carriage returns draw no glyph
        float left = 0, top = 0, right = 0, bottom = 0;
        float u1 = 0, v1 = 0, u2 = 0, v2 = 0;
    };

    const GlyphQuad& glyphFor(char ch);
    // The two triangles text drawing uses for a quad.
    void appendVertices(const Quad& quad);
    void drawVertices(sf::RenderTarget& target) const;
    // Which parts of the target this batch has painted, kept per tile of
    // 8 x 8 pixels as the bounding box of what was painted inside the tile
    // (valid while the tile's stamp is the batch's current stamp).
    struct Tile {
        std::uint32_t stamp = 0;
        float left = 0, top = 0, right = 0, bottom = 0;
    };
    struct Rect {
        float left, top, right, bottom;
        bool empty() const { return !(left < right && top < bottom); }
    };
    // The tiles a rectangle touches; false when none lies on the target.
    bool tileRange(const Rect& r, int& x0, int& y0, int& x1, int& y1) const;
    void markPainted(const Rect& r);
    // Within r, a rectangle holding every pixel painted so far (maybe empty).
    Rect paintedWithin(const Rect& r) const;

    const sf::Font* m_p_font;
    unsigned m_character_size;
    float m_cell_width;
    float m_cell_height;
    std::array<GlyphQuad, 256> m_glyphs;
    std::vector<Quad> m_quads;
    // Built from quads when drawing.
    std::vector<sf::Vertex> m_vertices;

    bool m_clear_color_known;
    sf::Color m_clear_color;
    std::size_t m_skipped_blocks;
    double m_block_area;
    int m_tiles_across;
    int m_tiles_down;
    std::vector<Tile> m_tiles;
    std::uint32_t m_stamp;
};

} // namespace priv
} // namespace vq

#endif
