#ifndef VQ_DISPLAY_PAINTEDAREA_H
#define VQ_DISPLAY_PAINTEDAREA_H

// Private to the display sources and their tests.

#include <cstdint>
#include <vector>

#include <velloq/display/CellGrid.h>

namespace vq {
namespace priv {

// Where a frame has painted so far, kept per tile of 8 x 8 pixels as the
// bounding box of what was painted inside the tile: tells the batch where a
// block in the clear colour would change nothing.
class PaintedArea {
public:
    struct Rect {
        float left, top, right, bottom;
        bool empty() const { return !(left < right && top < bottom); }
    };

    PaintedArea();
    // A target of width x height pixels, nothing painted.
    void cover(unsigned width, unsigned height);
    // Nothing painted, for the next frame.
    void reset();
    void mark(const Rect& r);
    // Within r, a rectangle holding every pixel painted so far (maybe empty).
    Rect within(const Rect& r) const;

private:
    // A tile's box is valid while its stamp is the current one, so a reset
    // costs nothing.
    struct Tile {
        std::uint32_t stamp = 0;
        float left = 0, top = 0, right = 0, bottom = 0;
    };
    CellGrid m_grid;
    std::vector<Tile> m_tiles;
    std::uint32_t m_stamp;
};

} // namespace priv
} // namespace vq

#endif
