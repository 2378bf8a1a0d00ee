#ifndef VQ_CORE_BOX_H
#define VQ_CORE_BOX_H

#include <velloq/core/Vector.h>

namespace vq {

// Axis-aligned rectangle (trivial members inline: collision tests call them a lot): top-left corner plus extents, in cells.
class Box {
public:
    Box() : m_corner(), m_horizontal(0), m_vertical(0) {}
    Box(Vector init_corner, float init_horizontal, float init_vertical)
        : m_corner(init_corner), m_horizontal(init_horizontal), m_vertical(init_vertical) {}

    Vector getCorner() const { return m_corner; }
    // Moves the whole box; the extents stay.
    void setCorner(Vector new_corner) { m_corner = new_corner; }
    float getHorizontal() const { return m_horizontal; }
    void setHorizontal(float new_horizontal) { m_horizontal = new_horizontal; }
    float getVertical() const { return m_vertical; }
    void setVertical(float new_vertical) { m_vertical = new_vertical; }

    // corner + (horizontal, vertical)
    Vector getOtherCorner() const { return m_corner + Vector(m_horizontal, m_vertical); }
    // Keeps the corner and derives the extents from the given bottom-right point.
    void setOtherCorner(Vector other_corner);

private:
    Vector m_corner;
    float m_horizontal;
    float m_vertical;
};

} // namespace vq

#endif
