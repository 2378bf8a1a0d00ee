#ifndef VQ_DISPLAY_FRAMEDIFF_H
#define VQ_DISPLAY_FRAMEDIFF_H

// Private to the display sources and their tests.

#include <cstddef>
#include <cstdint>
#include <vector>

#include <velloq/display/CharacterBatch.h>

namespace vq {
namespace priv {

// Works out how to turn a picture of one frame's quads into a picture of
// the next frame's, both drawn over the same clear colour, by drawing as
// little as possible: every pixel that any added or removed quad covers is
// painted in the clear colour again and gets every quad of the new frame
// that covers it, in frame order. Such a quad is painted over in full
// first, so pixels it covers elsewhere are rebuilt too, and so on until no
// quad reaches outside the painted area. A pixel outside it is covered by
// the same quads in the same order in both frames, so it is already right.
class FrameDiff {
public:
    using Quad = CharacterBatch::Quad;

    // Compares the quads of the frame shown (before) with those of the
    // next (after) on a target of width x height pixels. True when bringing
    // a picture of `before` up to date costs less than drawing `after`
    // whole, with `overhead` added to the update; false as soon as it is
    // clear that it does not, and then the rest says nothing. Costs are in
    // pixels: each quad costs the pixels it touches plus QUAD_COST for
    // setting it up.
    bool compare(const std::vector<Quad>& before, const std::vector<Quad>& after, int width, int height,
                 double overhead);
    static const int QUAD_COST;

    // Nothing to draw: the frames look the same.
    bool unchanged() const { return m_redraw.empty() && m_erase.empty(); }
    // The areas to paint in the clear colour, and the quads of `after` to
    // draw over them (indices, ascending).
    const std::vector<Quad>& erased() const { return m_erase; }
    const std::vector<std::size_t>& redrawn() const { return m_redraw; }

    // Pixels a quad may touch, as whole pixels [x0, x1) x [y0, y1) on the
    // target; empty when it touches none. Generous by a hair where an edge
    // lies almost on a pixel centre, and the whole target for coordinates
    // that are not numbers.
    struct Box {
        int x0, y0, x1, y1;
        bool empty() const { return x0 >= x1 || y0 >= y1; }
        bool meets(const Box& other) const { return x0 < other.x1 && other.x0 < x1 && y0 < other.y1 && other.y0 < y1; }
    };
    static Box pixelsOf(const Quad& quad, int width, int height);

private:
    bool mostlyAlike(const std::vector<Quad>& before, const std::vector<Quad>& after) const;
    bool matchInOrder(const std::vector<Quad>& before, const std::vector<Quad>& after);
    void indexAfter();
    bool spread();
    // Adds to the update's cost; false once it reaches the budget.
    bool charge(double cost);

    int m_width = 0, m_height = 0;
    int m_cells_across = 0, m_cells_down = 0;
    // Per quad of `before` / `after`: kept in the same place of the order.
    std::vector<bool> m_before_kept, m_after_kept;
    std::vector<Box> m_after_boxes;
    // Quads of `after` by the cells of a coarse grid they touch.
    std::vector<std::uint32_t> m_cell_start, m_cell_quads, m_cell_fill;
    std::vector<bool> m_in_redraw;
    std::vector<Box> m_pending;
    std::vector<std::pair<std::uint64_t, std::uint32_t>> m_sorted_before;
    std::vector<Quad> m_erase;
    std::vector<std::size_t> m_redraw;
    double m_update_cost = 0, m_budget = 0;
};

} // namespace priv
} // namespace vq

#endif
