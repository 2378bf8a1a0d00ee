#include <velloq/display/CharacterBatch.h>

#include <algorithm>
#include <cmath>

#include <velloq/display/SfmlCompat.h>

namespace vq {
namespace priv {

namespace {

const int TILE_SHIFT = 3; // tiles of 8 x 8 pixels

// Text drawing widens each glyph quad by this many pixels (and texels).
const float GLYPH_PADDING = 1.0f;

// The 2 x 2 white square SFML keeps at the top left of every glyph texture
// (for underlines): sampling its centre gives opaque white, so blocks can
// share the glyphs' texture and draw call.
const float WHITE_TEXEL = 1.0f;

// Both ways of drawing place the block with the same float arithmetic, so
// the pixels come out the same.
sf::Vector2f blockOrigin(float x, float y, float cell_width, float cell_height) {
    return sf::Vector2f(x - cell_width / 10, y + cell_height / 5);
}

} // namespace

CharacterBatch::CharacterBatch()
    : m_p_font(nullptr), m_character_size(0), m_cell_width(0), m_cell_height(0), m_glyphs(), m_quads(), m_vertices(),
      m_clear_color_known(false), m_clear_color(), m_skipped_blocks(0), m_block_area(0), m_tiles_across(0),
      m_tiles_down(0), m_tiles(), m_stamp(1) {}

void CharacterBatch::setFont(const sf::Font* p_font, unsigned character_size) {
    m_p_font = p_font;
    m_character_size = character_size;
    m_glyphs.fill(GlyphQuad());
    clear();
}

void CharacterBatch::setCellSize(float width, float height) {
    m_cell_width = width;
    m_cell_height = height;
}

void CharacterBatch::setTargetSize(unsigned width, unsigned height) {
    m_tiles_across = static_cast<int>((width + (1u << TILE_SHIFT) - 1) >> TILE_SHIFT);
    m_tiles_down = static_cast<int>((height + (1u << TILE_SHIFT) - 1) >> TILE_SHIFT);
    m_tiles.assign(static_cast<std::size_t>(m_tiles_across) * static_cast<std::size_t>(m_tiles_down), Tile());
    m_stamp = 1;
}

void CharacterBatch::setClearColor(sf::Color color) {
    m_clear_color = color;
    m_clear_color_known = true;
}

void CharacterBatch::forgetClearColor() { m_clear_color_known = false; }

const CharacterBatch::GlyphQuad& CharacterBatch::glyphFor(char ch) {
    GlyphQuad& quad = m_glyphs[static_cast<unsigned char>(ch)];
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

bool CharacterBatch::Quad::operator==(const Quad& other) const {
    return left == other.left && top == other.top && right == other.right && bottom == other.bottom &&
           color == other.color && u1 == other.u1 && v1 == other.v1 && u2 == other.u2 && v2 == other.v2;
}

void CharacterBatch::appendVertices(const Quad& q) {
    // The triangles text drawing uses: (top-left, top-right, bottom-left),
    // (bottom-left, top-right, bottom-right).
    const sf::Vertex top_left{sf::Vector2f(q.left, q.top), q.color, sf::Vector2f(q.u1, q.v1)};
    const sf::Vertex top_right{sf::Vector2f(q.right, q.top), q.color, sf::Vector2f(q.u2, q.v1)};
    const sf::Vertex bottom_left{sf::Vector2f(q.left, q.bottom), q.color, sf::Vector2f(q.u1, q.v2)};
    const sf::Vertex bottom_right{sf::Vector2f(q.right, q.bottom), q.color, sf::Vector2f(q.u2, q.v2)};
    m_vertices.push_back(top_left);
    m_vertices.push_back(top_right);
    m_vertices.push_back(bottom_left);
    m_vertices.push_back(bottom_left);
    m_vertices.push_back(top_right);
    m_vertices.push_back(bottom_right);
}

bool CharacterBatch::tileRange(const Rect& r, int& x0, int& y0, int& x1, int& y1) const {
    if (m_tiles.empty() || r.empty())
        return false;
    const float width = static_cast<float>(m_tiles_across << TILE_SHIFT);
    const float height = static_cast<float>(m_tiles_down << TILE_SHIFT);
    if (!(r.right > 0 && r.bottom > 0 && r.left < width && r.top < height))
        return false; // wholly off the target
    // Clamped while still floats, so far-off coordinates convert safely.
    x0 = static_cast<int>(std::max(r.left, 0.0f)) >> TILE_SHIFT;
    y0 = static_cast<int>(std::max(r.top, 0.0f)) >> TILE_SHIFT;
    x1 = static_cast<int>(std::min(r.right, width - 1)) >> TILE_SHIFT;
    y1 = static_cast<int>(std::min(r.bottom, height - 1)) >> TILE_SHIFT;
    return true;
}

void CharacterBatch::markPainted(const Rect& r) {
    int x0, y0, x1, y1;
    if (!tileRange(r, x0, y0, x1, y1))
        return;
    const float size = static_cast<float>(1 << TILE_SHIFT);
    for (int ty = y0; ty <= y1; ty++) {
        const float tile_top = static_cast<float>(ty) * size;
        const float top = std::max(r.top, tile_top), bottom = std::min(r.bottom, tile_top + size);
        for (int tx = x0; tx <= x1; tx++) {
            const float tile_left = static_cast<float>(tx) * size;
            const float left = std::max(r.left, tile_left), right = std::min(r.right, tile_left + size);
            if (!(left < right && top < bottom))
                continue;
            Tile& tile = m_tiles[static_cast<std::size_t>(ty * m_tiles_across + tx)];
            if (tile.stamp != m_stamp) {
                tile = Tile{m_stamp, left, top, right, bottom};
            } else {
                tile.left = std::min(tile.left, left);
                tile.top = std::min(tile.top, top);
                tile.right = std::max(tile.right, right);
                tile.bottom = std::max(tile.bottom, bottom);
            }
        }
    }
}

CharacterBatch::Rect CharacterBatch::paintedWithin(const Rect& r) const {
    Rect painted{0, 0, 0, 0};
    int x0, y0, x1, y1;
    if (!tileRange(r, x0, y0, x1, y1))
        return painted;
    bool any = false;
    for (int ty = y0; ty <= y1; ty++) {
        for (int tx = x0; tx <= x1; tx++) {
            const Tile& tile = m_tiles[static_cast<std::size_t>(ty * m_tiles_across + tx)];
            if (tile.stamp != m_stamp)
                continue;
            if (!any) {
                painted = Rect{tile.left, tile.top, tile.right, tile.bottom};
                any = true;
            } else {
                painted.left = std::min(painted.left, tile.left);
                painted.top = std::min(painted.top, tile.top);
                painted.right = std::max(painted.right, tile.right);
                painted.bottom = std::max(painted.bottom, tile.bottom);
            }
        }
    }
    if (!any)
        return painted;
    // Every edge is either one of r's or one of a painted quad's (tile edges
    // lie on whole pixels, never on a pixel centre), so the rasteriser
    // decides each pixel exactly as it does for the quads themselves.
    return Rect{std::max(painted.left, r.left), std::max(painted.top, r.top), std::min(painted.right, r.right),
                std::min(painted.bottom, r.bottom)};
}

bool CharacterBatch::add(float x, float y, char ch, sf::Color color, sf::Color background) {
    if (m_p_font == nullptr)
        return false;
    const sf::Vector2f origin = blockOrigin(x, y, m_cell_width, m_cell_height);
    Rect block{origin.x, origin.y, m_cell_width + origin.x, m_cell_height + origin.y};
    if (m_clear_color_known && background == m_clear_color) {
        // Pixels nothing has painted yet already hold this colour.
        block = paintedWithin(block);
    }
    if (block.empty()) {
        m_skipped_blocks++;
    } else {
        m_quads.push_back(Quad{block.left, block.top, block.right, block.bottom, background, WHITE_TEXEL, WHITE_TEXEL,
                               WHITE_TEXEL, WHITE_TEXEL});
        markPainted(block);
        m_block_area += static_cast<double>(block.right - block.left) * static_cast<double>(block.bottom - block.top);
    }
    const GlyphQuad& glyph = glyphFor(ch);
    if (glyph.visible) {
        const Rect quad{x + glyph.left, y + glyph.top, x + glyph.right, y + glyph.bottom};
        m_quads.push_back(
            Quad{quad.left, quad.top, quad.right, quad.bottom, color, glyph.u1, glyph.v1, glyph.u2, glyph.v2});
        markPainted(quad);
    }
    return true;
}

void CharacterBatch::draw(sf::RenderTarget& target) {
    m_vertices.clear();
    for (const Quad& quad : m_quads)
        appendVertices(quad);
    drawVertices(target);
}

void CharacterBatch::drawOver(sf::RenderTarget& target, const std::vector<Quad>& erase, sf::Color fill,
                              const std::vector<std::size_t>& redraw) {
    m_vertices.clear();
    for (Quad quad : erase) {
        // The same corners cover the same pixels; opaque, so nothing
        // underneath shows through.
        quad.color = fill;
        quad.u1 = quad.v1 = quad.u2 = quad.v2 = WHITE_TEXEL;
        appendVertices(quad);
    }
    for (std::size_t index : redraw)
        appendVertices(m_quads[index]);
    drawVertices(target);
}

void CharacterBatch::drawVertices(sf::RenderTarget& target) const {
    if (m_vertices.empty() || m_p_font == nullptr)
        return;
    sf::RenderStates states;
    states.texture = &m_p_font->getTexture(m_character_size);
    target.draw(m_vertices.data(), m_vertices.size(), TRIANGLES, states);
}

void CharacterBatch::clear() {
    m_quads.clear();
    m_skipped_blocks = 0;
    m_block_area = 0;
    if (++m_stamp == 0) {
        // Stamps wrapped around: start over so no old stamp can match.
        std::fill(m_tiles.begin(), m_tiles.end(), Tile());
        m_stamp = 1;
    }
}

const std::vector<CharacterBatch::Quad>& CharacterBatch::getQuads() const { return m_quads; }

void CharacterBatch::takeQuads(std::vector<Quad>& into) { m_quads.swap(into); }

std::size_t CharacterBatch::getVertexCount() const { return 6 * m_quads.size(); }

std::size_t CharacterBatch::getSkippedBlockCount() const { return m_skipped_blocks; }

double CharacterBatch::getBlockArea() const { return m_block_area; }

void CharacterBatch::drawReference(sf::RenderTarget& target, const sf::Font& font, unsigned character_size,
                                   float cell_width, float cell_height, float x, float y, char ch, sf::Color color,
                                   sf::Color background) {
    sf::RectangleShape block(sf::Vector2f(cell_width, cell_height));
    block.setFillColor(background);
    block.setPosition(blockOrigin(x, y, cell_width, cell_height));
    target.draw(block);
    sf::Text text = makeText(font, sf::String(ch), character_size);
    text.setStyle(sf::Text::Bold);
    text.setFillColor(color);
    text.setPosition(sf::Vector2f(x, y));
    target.draw(text);
}

} // namespace priv
} // namespace vq
