#include <velloq/display/PaintedArea.h>

#include <algorithm>

namespace vq {
namespace priv {

namespace {
const int TILE_SHIFT = 3; // tiles of 8 x 8 pixels

// The whole pixels r touches on the grid's target; false when none.
bool pixelsOf(const PaintedArea::Rect& r, const CellGrid& grid, PixelBox& box) {
    const float width = static_cast<float>(grid.width()), height = static_cast<float>(grid.height());
    if (r.empty() || !(r.right > 0 && r.bottom > 0 && r.left < width && r.top < height))
        return false; // nothing there, or wholly off the target
    // Clamped while still floats, so far-off coordinates convert safely. The
    // pixel an edge lies in counts, also when the edge is its left side: the
    // rectangle is cut to each tile exactly below anyway.
    box = PixelBox{static_cast<int>(std::max(r.left, 0.0f)), static_cast<int>(std::max(r.top, 0.0f)),
                   static_cast<int>(std::min(r.right, width - 1)) + 1,
                   static_cast<int>(std::min(r.bottom, height - 1)) + 1};
    return true;
}
} // namespace

PaintedArea::PaintedArea() : m_grid(TILE_SHIFT), m_tiles(), m_stamp(1) {}

void PaintedArea::cover(unsigned width, unsigned height) {
    m_grid.cover(static_cast<int>(width), static_cast<int>(height));
    m_tiles.assign(m_grid.count(), Tile());
    m_stamp = 1;
}

void PaintedArea::reset() {
    if (++m_stamp == 0) {
        // Stamps wrapped around: start over so no old stamp can match.
        std::fill(m_tiles.begin(), m_tiles.end(), Tile());
        m_stamp = 1;
    }
}

void PaintedArea::mark(const Rect& r) {
    PixelBox box;
    if (!pixelsOf(r, m_grid, box))
        return;
    m_grid.forEachCell(box, [&](std::size_t index, const PixelBox& cell) {
        const Rect part{std::max(r.left, static_cast<float>(cell.x0)), std::max(r.top, static_cast<float>(cell.y0)),
                        std::min(r.right, static_cast<float>(cell.x1)),
                        std::min(r.bottom, static_cast<float>(cell.y1))};
        if (part.empty())
            return;
        Tile& tile = m_tiles[index];
        if (tile.stamp != m_stamp) {
            tile = Tile{m_stamp, part.left, part.top, part.right, part.bottom};
        } else {
            tile.left = std::min(tile.left, part.left);
            tile.top = std::min(tile.top, part.top);
            tile.right = std::max(tile.right, part.right);
            tile.bottom = std::max(tile.bottom, part.bottom);
        }
    });
}

PaintedArea::Rect PaintedArea::within(const Rect& r) const {
    Rect painted{0, 0, 0, 0};
    PixelBox box;
    if (!pixelsOf(r, m_grid, box))
        return painted;
    bool any = false;
    m_grid.forEachCell(box, [&](std::size_t index, const PixelBox&) {
        const Tile& tile = m_tiles[index];
        if (tile.stamp != m_stamp)
            return;
        if (!any) {
            painted = Rect{tile.left, tile.top, tile.right, tile.bottom};
            any = true;
        } else {
            painted.left = std::min(painted.left, tile.left);
            painted.top = std::min(painted.top, tile.top);
            painted.right = std::max(painted.right, tile.right);
            painted.bottom = std::max(painted.bottom, tile.bottom);
        }
    });
    if (!any)
        return painted;
    // Every edge is either one of r's or one of a painted quad's (tile edges
    // lie on whole pixels, never on a pixel centre), so the rasteriser
    // decides each pixel exactly as it does for the quads themselves.
    return Rect{std::max(painted.left, r.left), std::max(painted.top, r.top), std::min(painted.right, r.right),
                std::min(painted.bottom, r.bottom)};
}

} // namespace priv
} // namespace vq
