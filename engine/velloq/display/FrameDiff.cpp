#include <velloq/display/FrameDiff.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace vq {
namespace priv {

namespace {

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

std::uint64_t hashOf(const Quad& q) {
    std::uint64_t h = 0xcbf29ce484222325ULL;
    for (float value : {q.left, q.top, q.right, q.bottom, q.u1, q.v1, q.u2, q.v2})
        h = mix(h, bitsOf(value));
    return mix(h, q.color.toInteger());
}

// ceil(x) clamped to [0, limit], x a number.
int ceilWithin(double x, int limit) {
    if (!(x > 0))
        return 0;
    if (x >= limit)
        return limit;
    const int whole = static_cast<int>(x);
    return static_cast<double>(whole) < x ? whole + 1 : whole;
}

// Whole pixels from the one whose centre lies at or after `from` to the
// last whose centre lies before `to`, widened by the snap margin and
// clamped to [0, limit].
void pixelSpan(double from, double to, int limit, int& first, int& end) {
    first = ceilWithin(std::min(from, to) - 0.5 - SNAP_MARGIN, limit);
    end = ceilWithin(std::max(from, to) - 0.5 + SNAP_MARGIN, limit);
}

} // namespace

// Measured with the software renderer: setting up a quad costs about as
// much as filling 32 of its pixels.
const int FrameDiff::QUAD_COST = 32;

PixelBox FrameDiff::pixelsOf(const Quad& q, int width, int height) {
    if (!std::isfinite(q.left) || !std::isfinite(q.right) || !std::isfinite(q.top) || !std::isfinite(q.bottom))
        return PixelBox{0, 0, width, height};
    PixelBox box{};
    pixelSpan(q.left, q.right, width, box.x0, box.x1);
    pixelSpan(q.top, q.bottom, height, box.y0, box.y1);
    return box;
}

bool FrameDiff::plan(const std::vector<Quad>& before, const std::vector<Quad>& after, int width, int height) {
    m_width = std::max(width, 0);
    m_height = std::max(height, 0);
    m_erase.clear();
    m_redraw.clear();
    m_pending.clear();
    // The update must cost less than drawing `after` whole.
    m_budget = 0;
    m_after_boxes.resize(after.size());
    for (std::size_t i = 0; i < after.size(); i++) {
        m_after_boxes[i] = pixelsOf(after[i], m_width, m_height);
        m_budget += QUAD_COST + m_after_boxes[i].area();
    }
    m_cost = 0;
    if (m_budget <= 0)
        return false; // nothing to draw
    if (before == after)
        return true;
    if (!mostlyAlike(before, after))
        return false;
    // Quads left unpaired were removed or added; their areas are painted
    // over, and the paint spreads to every quad of `after` it reaches.
    pairInOrder(before, after);
    for (std::size_t i = 0; i < before.size(); i++)
        if (!m_before_paired[i] && !erase(before[i]))
            return false;
    m_in_redraw.assign(after.size(), false);
    for (std::size_t i = 0; i < after.size(); i++)
        if (!m_after_paired[i] && !redraw(i))
            return false;
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

bool FrameDiff::erase(const Quad& quad) {
    const PixelBox box = pixelsOf(quad, m_width, m_height);
    if (box.empty())
        return true;
    m_erase.push_back(quad);
    m_pending.push_back(box);
    m_cost += QUAD_COST + box.area();
    return m_cost < m_budget;
}

bool FrameDiff::redraw(std::size_t index) {
    const PixelBox& box = m_after_boxes[index];
    if (m_in_redraw[index] || box.empty())
        return true;
    m_in_redraw[index] = true;
    m_pending.push_back(box);
    m_cost += 2 * (QUAD_COST + box.area()); // painted over, then drawn
    return m_cost < m_budget;
}

// A quick look before pairing: of a sample of `after`'s quads, at least a
// quarter must have an alike quad near the same place in `before`. Frames
// that change nearly everything (a new screen) then cost nothing more to
// compare; a few quads added or removed shift the rest only a little, so
// such frames still pass.
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
// after the last one taken.
void FrameDiff::pairInOrder(const std::vector<Quad>& before, const std::vector<Quad>& after) {
    m_before_paired.assign(before.size(), false);
    m_after_paired.assign(after.size(), false);
    bool indexed = false;
    std::size_t next = 0; // the first quad of `before` still free to pair
    for (std::size_t i = 0; i < after.size(); i++) {
        std::size_t taken = next;
        if (next >= before.size() || before[next] != after[i]) { // else the common case: the next one
            if (!indexed) {
                m_sorted_before.clear();
                for (std::size_t j = 0; j < before.size(); j++)
                    m_sorted_before.emplace_back(hashOf(before[j]), static_cast<std::uint32_t>(j));
                std::sort(m_sorted_before.begin(), m_sorted_before.end());
                indexed = true;
            }
            const std::pair<std::uint64_t, std::uint32_t> key(hashOf(after[i]), static_cast<std::uint32_t>(next));
            const auto found = std::lower_bound(m_sorted_before.begin(), m_sorted_before.end(), key);
            // None: new here (or an unlikely hash collision, drawn again,
            // which is always right).
            if (found == m_sorted_before.end() || found->first != key.first || before[found->second] != after[i])
                continue;
            taken = found->second;
        }
        m_before_paired[taken] = true;
        m_after_paired[i] = true;
        next = taken + 1;
    }
}

// Every quad of `after` that meets a pending area joins the redraw, and its
// own area becomes pending: what it covers must be painted over too.
bool FrameDiff::spread() {
    m_index.build(m_after_boxes, m_width, m_height);
    bool affordable = true;
    while (affordable && !m_pending.empty()) {
        const PixelBox area = m_pending.back();
        m_pending.pop_back();
        m_index.forEachMeeting(area, [&](std::size_t i) { affordable = affordable && redraw(i); });
    }
    return affordable;
}

} // namespace priv
} // namespace vq
