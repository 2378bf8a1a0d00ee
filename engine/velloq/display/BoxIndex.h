#ifndef VQ_DISPLAY_BOXINDEX_H
#define VQ_DISPLAY_BOXINDEX_H

// Private to the display sources and their tests.

#include <cstdint>
#include <vector>

#include <velloq/display/CellGrid.h>

namespace vq {
namespace priv {

// A list of boxes filed by the cells of a coarse grid they meet, so that
// the boxes meeting an area are found without looking at every box.
class BoxIndex {
public:
    BoxIndex();
    // Files boxes on a target of width x height pixels; they must stay
    // alive and unchanged while the index is used.
    void build(const std::vector<PixelBox>& boxes, int width, int height);
    // Calls visit(i) for every box i that meets `area`, once or more.
    template <typename Visit> void forEachMeeting(const PixelBox& area, Visit visit) const {
        m_grid.forEachCell(area, [&](std::size_t cell, const PixelBox&) {
            for (std::uint32_t k = m_start[cell]; k < m_start[cell + 1]; k++)
                if ((*m_p_boxes)[m_filed[k]].meets(area))
                    visit(static_cast<std::size_t>(m_filed[k]));
        });
    }

private:
    CellGrid m_grid;
    const std::vector<PixelBox>* m_p_boxes;
    // The boxes of cell c are m_filed[m_start[c] .. m_start[c + 1]).
    std::vector<std::uint32_t> m_start, m_filed;
};

} // namespace priv
} // namespace vq

#endif
