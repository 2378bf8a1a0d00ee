#include <velloq/display/BoxIndex.h>

namespace vq {
namespace priv {

namespace {
const int CELL_SHIFT = 5; // cells of 32 x 32 pixels
} // namespace

BoxIndex::BoxIndex() : m_grid(CELL_SHIFT), m_p_boxes(nullptr), m_start(), m_filed() {}

void BoxIndex::build(const std::vector<PixelBox>& boxes, int width, int height) {
    m_p_boxes = &boxes;
    m_grid.cover(width, height);
    const std::size_t cells = m_grid.count();
    // Counted per cell first, then filed behind the counts of the cells
    // before; m_start[c] runs ahead as cell c fills and ends where cell
    // c + 1 begins, so shifting it back by one cell restores the starts.
    m_start.assign(cells + 2, 0);
    for (const PixelBox& box : boxes)
        m_grid.forEachCell(box, [&](std::size_t cell, const PixelBox&) { m_start[cell + 2]++; });
    for (std::size_t c = 2; c < cells + 2; c++)
        m_start[c] += m_start[c - 1];
    m_filed.resize(m_start[cells + 1]);
    for (std::size_t i = 0; i < boxes.size(); i++)
        m_grid.forEachCell(boxes[i],
                           [&](std::size_t cell, const PixelBox&) { m_filed[m_start[cell + 1]++] = std::uint32_t(i); });
    m_start.pop_back();
}

} // namespace priv
} // namespace vq
