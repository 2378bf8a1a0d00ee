#ifndef VQ_CORE_BOX_H
#define VQ_CORE_BOX_H

#include "core/Vector.h"

namespace vq {

// Axis-aligned rectangle: top-left corner plus extents, in cells.
class Box {
public:
    Box();
    Box(Vector init_corner, float init_horizontal, float init_vertical);

    Vector getCorner() const;
    // Moves the whole box; the extents stay.
    void setCorner(Vector new_corner);
    float getHorizontal() const;
    void setHorizontal(float new_horizontal);
    float getVertical() const;
    void setVertical(float new_vertical);

    // corner + (horizontal, vertical)
    Vector getOtherCorner() const;
    // Keeps the corner and derives the extents from the given bottom-right point.
    void setOtherCorner(Vector other_corner);

private:
    Vector m_corner;
    float m_horizontal;
    float m_vertical;
};

} // namespace vq

#endif
