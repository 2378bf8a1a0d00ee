#ifndef VQ_DISPLAY_FRAMEDIFF_H
#define VQ_DISPLAY_FRAMEDIFF_H

// Private to the display sources and their tests.

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include <velloq/display/BoxIndex.h>
#include <velloq/display/CellGrid.h>
#include <velloq/display/Quad.h>

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
// The answer depends on the quads and the target size alone.
class FrameDiff {
public:
    // Plans how to bring a picture of `before` up to date with `after` on
    // a target of width x height pixels. True when that costs less than
    // drawing `after` whole; false as soon as it is clear that it does not,
    // and then the lists say nothing. Costs are in pixels: each quad costs
    // the pixels it touches plus QUAD_COST for setting it up. (Copying the
    // picture to the window costs no more than clearing the window for a
    // frame drawn whole.)
    bool plan(const std::vector<Quad>& before, const std::vector<Quad>& after, int width, int height);
    static const int QUAD_COST;

    // Nothing to draw: the frames look the same.
    bool unchanged() const { return m_redraw.empty() && m_erase.empty(); }
    // The areas to paint in the clear colour, and the quads of `after` to
    // draw over them (indices, ascending).
    const std::vector<Quad>& erased() const { return m_erase; }
    const std::vector<std::size_t>& redrawn() const { return m_redraw; }

    // Pixels a quad may touch on a width x height target; empty when it
    // touches none. Generous by a hair where an edge lies almost on a pixel
    // centre, and the whole target for coordinates that are not numbers.
    static PixelBox pixelsOf(const Quad& quad, int width, int height);

private:
    bool mostlyAlike(const std::vector<Quad>& before, const std::vector<Quad>& after) const;
    void pairInOrder(const std::vector<Quad>& before, const std::vector<Quad>& after);
    // The update grows by a quad of `before` painted over, or by a quad of
    // `after` painted over and drawn again; false once it costs too much.
    bool erase(const Quad& quad);
    bool redraw(std::size_t index);
    bool spread();

    int m_width = 0, m_height = 0;
    std::vector<PixelBox> m_after_boxes;
    BoxIndex m_index;
    // Per quad of `before` and `after`: paired with a quad of the other frame.
    std::vector<bool> m_before_paired, m_after_paired;
    std::vector<std::pair<std::uint64_t, std::uint32_t>> m_sorted_before;
    // Per quad of `after`: in the redraw. And areas whose quads are yet to join.
    std::vector<bool> m_in_redraw;
    std::vector<PixelBox> m_pending;
    std::vector<Quad> m_erase;
    std::vector<std::size_t> m_redraw;
    double m_cost = 0, m_budget = 0;
};

} // namespace priv
} // namespace vq

#endif
