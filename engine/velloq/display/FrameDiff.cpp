#include <velloq/display/FrameDiff.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace vq {
namespace priv {

namespace {

const int CELL_SHIFT = 5; // the grid that finds neighbours: cells of 32 x 32 pixels

// Rasterisers snap corners to a sub-pixel grid (at least 1/16 of a pixel)
// before testing pixel centres, so an edge this close to a centre may fall
// either side of it.
const double SNAP_MARGIN = 1.0 / 16;

std::uint64_t mix(std::uint64_t h, std::uint32_t value) {
    h ^= value;
    return h * 0x100000001b3ULL; // FNV-1a step over whole words
}

std::uint32_t bitsOf(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

std::uint64_t hashOf(const CharacterBatch::Quad& q) {
    std::uint64_t h = 0xcbf29ce484222325ULL;
    for (float value : {q.left, q.top, q.right, q.bottom, q.u1, q.v1, q.u2, q.v2})
        h = mix(h, bitsOf(value));
    return mix(h, q.color.toInteger());
}

// Whole pixels from the one whose centre lies at or after `from` to the
// last whose centre lies before `to`, widened by the snap margin and
// clamped to [0, limit].
void pixelSpan(double from, double to, int limit, int& first, int& end) {
    const double a = std::ceil(std::min(from, to) - 0.5 - SNAP_MARGIN);
    const double b = std::ceil(std::max(from, to) - 0.5 + SNAP_MARGIN);
    first = static_cast<int>(std::max(0.0, std::min(a, static_cast<double>(limit))));
    end = static_cast<int>(std::max(0.0, std::min(b, static_cast<double>(limit))));
}

double costOf(const FrameDiff::Box& box) {
    return box.empty() ? 0.0 : static_cast<double>(box.x1 - box.x0) * static_cast<double>(box.y1 - box.y0);
}

} // namespace

// Measured with the software renderer: setting up a quad costs about as
// much as filling 32 of its pixels.
const int FrameDiff::QUAD_COST = 32;

FrameDiff::Box FrameDiff::pixelsOf(const Quad& q, int width, int height) {
    if (!std::isfinite(q.left) || !std::isfinite(q.right) || !std::isfinite(q.top) || !std::isfinite(q.bottom))
        return Box{0, 0, width, height};
    Box box{};
    pixelSpan(q.left, q.right, width, box.x0, box.x1);
    pixelSpan(q.top, q.bottom, height, box.y0, box.y1);
    return box;
}

bool FrameDiff::compare(const std::vector<Quad>& before, const std::vector<Quad>& after, int width, int height,
                        double overhead) {
    m_width = std::max(width, 0);
    m_height = std::max(height, 0);
    m_erase.clear();
    m_redraw.clear();
    m_update_cost = 0;
    double whole_cost = 0;
    m_after_boxes.resize(after.size());
    for (std::size_t i = 0; i < after.size(); i++) {
        m_after_boxes[i] = pixelsOf(after[i], m_width, m_height);
        whole_cost += QUAD_COST + costOf(m_after_boxes[i]);
    }
    m_budget = whole_cost - overhead;
    if (m_budget <= 0)
        return false;
    if (before == after)
        return true;
    if (!mostlyAlike(before, after) || !matchInOrder(before, after))
        return false;
    m_pending.clear();
    for (std::size_t i = 0; i < before.size(); i++) {
        if (m_before_kept[i])
            continue;
        const Box box = pixelsOf(before[i], m_width, m_height);
        if (box.empty())
            continue;
        m_erase.push_back(before[i]);
        m_pending.push_back(box);
        if (!charge(QUAD_COST + costOf(box)))
            return false;
    }
    m_in_redraw.assign(after.size(), false);
    for (std::size_t i = 0; i < after.size(); i++) {
        if (!m_after_kept[i] && !m_after_boxes[i].empty()) {
            m_in_redraw[i] = true;
            m_pending.push_back(m_after_boxes[i]);
        }
    }
    indexAfter();
    if (!spread())
        return false;
    for (std::size_t i = 0; i < after.size(); i++) {
        if (m_in_redraw[i]) {
            m_redraw.push_back(i);
            m_erase.push_back(after[i]);
        }
    }
    return true;
}

bool FrameDiff::charge(double cost) {
    m_update_cost += cost;
    return m_update_cost < m_budget;
}

// A quick look before the full match: of a sample of `after`'s quads, at
// least a quarter must have an alike quad near the same place in `before`.
// Frames that change nearly everything (a new screen) then cost nothing
// more to compare; a few quads added or removed shift the rest only a
// little, so such frames still pass.
bool FrameDiff::mostlyAlike(const std::vector<Quad>& before, const std::vector<Quad>& after) const {
    const std::size_t SAMPLES = 64, REACH = 16;
    if (after.size() < 4 * SAMPLES || before.empty())
        return true;
    std::size_t alike = 0;
    for (std::size_t s = 0; s < SAMPLES; s++) {
        const std::size_t i = s * after.size() / SAMPLES;
        const std::size_t from = i > REACH ? i - REACH : 0;
        const std::size_t to = std::min(before.size(), i + REACH + 1);
        for (std::size_t j = from; j < to; j++) {
            if (before[j] == after[i]) {
                alike++;
                break;
            }
        }
    }
    return 4 * alike >= SAMPLES;
}

// Pairs quads of both frames that are alike in every field, keeping the
// order of the pairs the same in both: the first quad of `after` takes the
// earliest alike quad of `before`, each later one the earliest alike quad
// after the last one taken. The rest were added or removed.
bool FrameDiff::matchInOrder(const std::vector<Quad>& before, const std::vector<Quad>& after) {
    m_before_kept.assign(before.size(), false);
    m_after_kept.assign(after.size(), false);
    bool indexed = false;
    long last = -1;
    for (std::size_t i = 0; i < after.size(); i++) {
        std::size_t taken;
        if (static_cast<std::size_t>(last + 1) < before.size() &&
            before[static_cast<std::size_t>(last + 1)] == after[i]) {
            taken = static_cast<std::size_t>(last + 1); // the common case: the next one
        } else {
            if (!indexed) {
                m_sorted_before.clear();
                for (std::size_t j = 0; j < before.size(); j++)
                    m_sorted_before.emplace_back(hashOf(before[j]), static_cast<std::uint32_t>(j));
                std::sort(m_sorted_before.begin(), m_sorted_before.end());
                indexed = true;
            }
            // Among the alike quads, the first after the last one taken.
            const std::pair<std::uint64_t, std::uint32_t> key(hashOf(after[i]), static_cast<std::uint32_t>(last + 1));
            const auto found = std::lower_bound(m_sorted_before.begin(), m_sorted_before.end(), key);
            if (found == m_sorted_before.end() || found->first != key.first || before[found->second] != after[i]) {
                // New here (or an unlikely hash collision: drawn again,
                // which is always right): painted over, then drawn.
                if (!charge(2 * (QUAD_COST + costOf(m_after_boxes[i]))))
                    return false;
                continue;
            }
            taken = found->second;
        }
        m_before_kept[taken] = true;
        m_after_kept[i] = true;
        last = static_cast<long>(taken);
    }
    return true;
}

void FrameDiff::indexAfter() {
    m_cells_across = (m_width + (1 << CELL_SHIFT) - 1) >> CELL_SHIFT;
    m_cells_down = (m_height + (1 << CELL_SHIFT) - 1) >> CELL_SHIFT;
    const std::size_t cells = static_cast<std::size_t>(m_cells_across) * static_cast<std::size_t>(m_cells_down);
    m_cell_start.assign(cells + 1, 0);
    for (const Box& box : m_after_boxes) {
        if (box.empty())
            continue;
        for (int cy = box.y0 >> CELL_SHIFT; cy <= (box.y1 - 1) >> CELL_SHIFT; cy++)
            for (int cx = box.x0 >> CELL_SHIFT; cx <= (box.x1 - 1) >> CELL_SHIFT; cx++)
                m_cell_start[static_cast<std::size_t>(cy * m_cells_across + cx) + 1]++;
    }
    for (std::size_t c = 0; c < cells; c++)
        m_cell_start[c + 1] += m_cell_start[c];
    m_cell_quads.resize(m_cell_start[cells]);
    m_cell_fill.assign(m_cell_start.begin(), m_cell_start.end() - 1);
    for (std::size_t i = 0; i < m_after_boxes.size(); i++) {
        const Box& box = m_after_boxes[i];
        if (box.empty())
            continue;
        for (int cy = box.y0 >> CELL_SHIFT; cy <= (box.y1 - 1) >> CELL_SHIFT; cy++)
            for (int cx = box.x0 >> CELL_SHIFT; cx <= (box.x1 - 1) >> CELL_SHIFT; cx++)
                m_cell_quads[m_cell_fill[static_cast<std::size_t>(cy * m_cells_across + cx)]++] =
                    static_cast<std::uint32_t>(i);
    }
}

// Every quad of `after` that touches a pending area joins the redraw, and
// its own area becomes pending: what it covers must be painted over too.
bool FrameDiff::spread() {
    while (!m_pending.empty()) {
        const Box box = m_pending.back();
        m_pending.pop_back();
        for (int cy = box.y0 >> CELL_SHIFT; cy <= (box.y1 - 1) >> CELL_SHIFT; cy++) {
            for (int cx = box.x0 >> CELL_SHIFT; cx <= (box.x1 - 1) >> CELL_SHIFT; cx++) {
                const std::size_t cell = static_cast<std::size_t>(cy * m_cells_across + cx);
                for (std::uint32_t k = m_cell_start[cell]; k < m_cell_start[cell + 1]; k++) {
                    const std::uint32_t index = m_cell_quads[k];
                    if (!m_in_redraw[index] && m_after_boxes[index].meets(box)) {
                        m_in_redraw[index] = true;
                        m_pending.push_back(m_after_boxes[index]);
                        if (!charge(2 * (QUAD_COST + costOf(m_after_boxes[index]))))
                            return false;
                    }
                }
            }
        }
    }
    return true;
}

} // namespace priv
} // namespace vq
