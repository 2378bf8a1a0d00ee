#include <velloq/display/PaintedArea.h>

#include <algorithm>
#include <cmath>

namespace vq {
namespace priv {

namespace {
const int TILE_SHIFT = 3; // tiles of 8 x 8 pixels
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

bool PaintedArea::pixelsOf(const Rect& r, PixelBox& box) const {
    const float width = static_cast<float>(m_grid.width()), height = static_cast<float>(m_grid.height());
    if (r.empty() || !(r.right > 0 && r.bottom > 0 && r.left < width && r.top < height))
        return false; // nothing there, or wholly off the target
    // Clamped while still floats, so far-off coordinates convert safely.
    box = PixelBox{static_cast<int>(std::max(r.left, 0.0f)), static_cast<int>(std::max(r.top, 0.0f)),
                   static_cast<int>(std::ceil(std::min(r.right, width))),
                   static_cast<int>(std::ceil(std::min(r.bottom, height)))};
    return true;
}

void PaintedArea::mark(const Rect& r) {
    PixelBox box;
    if (!pixelsOf(r, box))
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
    if (!pixelsOf(r, box))
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
