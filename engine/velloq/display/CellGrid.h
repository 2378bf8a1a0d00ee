#ifndef VQ_DISPLAY_CELLGRID_H
#define VQ_DISPLAY_CELLGRID_H

// Private to the display sources and their tests.

#include <algorithm>
#include <cstddef>

namespace vq {
namespace priv {

// Whole pixels [x0, x1) x [y0, y1); empty when it holds none.
struct PixelBox {
    int x0, y0, x1, y1;
    bool empty() const { return x0 >= x1 || y0 >= y1; }
    bool meets(const PixelBox& o) const { return x0 < o.x1 && o.x0 < x1 && y0 < o.y1 && o.y0 < y1; }
    double area() const { return empty() ? 0.0 : static_cast<double>(x1 - x0) * static_cast<double>(y1 - y0); }
};

// A target cut into square cells of 2^shift pixels, numbered row by row:
// what the display keeps per region of the window (what was painted there,
// which quads lie there) is kept per cell of one of these.
class CellGrid {
public:
    explicit CellGrid(int shift) : m_shift(shift) {}

    // Enough cells to cover width x height pixels.
    void cover(int width, int height) {
        m_across = std::max(0, (width + size() - 1) >> m_shift);
        m_down = std::max(0, (height + size() - 1) >> m_shift);
    }
    int size() const { return 1 << m_shift; }
    int width() const { return m_across << m_shift; }
    int height() const { return m_down << m_shift; }
    std::size_t count() const { return static_cast<std::size_t>(m_across) * static_cast<std::size_t>(m_down); }

    // Calls visit(index, cell) for every cell the box meets, row by row;
    // cell is the cell's own box.
    template <typename Visit> void forEachCell(const PixelBox& box, Visit visit) const {
        const int x0 = std::max(box.x0, 0), y0 = std::max(box.y0, 0);
        const int x1 = std::min(box.x1, width()), y1 = std::min(box.y1, height());
        if (x0 >= x1 || y0 >= y1)
            return;
        for (int cy = y0 >> m_shift; cy <= (y1 - 1) >> m_shift; cy++) {
            for (int cx = x0 >> m_shift; cx <= (x1 - 1) >> m_shift; cx++) {
                const PixelBox cell{cx << m_shift, cy << m_shift, (cx + 1) << m_shift, (cy + 1) << m_shift};
                visit(static_cast<std::size_t>(cy) * static_cast<std::size_t>(m_across) + static_cast<std::size_t>(cx),
                      cell);
            }
        }
    }

private:
    int m_shift;
    int m_across = 0, m_down = 0;
};

} // namespace priv
} // namespace vq

#endif
