#ifndef VQ_CORE_GEOMETRY_H
#define VQ_CORE_GEOMETRY_H

#include <velloq/core/Box.h>
#include <velloq/core/Vector.h>

namespace vq {

// Positions within one cell of each other on both axes.
bool positionsIntersect(Vector p1, Vector p2);
// Boxes overlap or touch on both axes (bounds inclusive). Inline: the world
// calls it for every pair of objects it checks.
inline bool boxIntersectsBox(Box a, Box b) {
    const Vector a1 = a.getCorner();
    const Vector a2 = a.getOtherCorner();
    const Vector b1 = b.getCorner();
    const Vector b2 = b.getOtherCorner();
    const bool x_overlap =
        (b1.getX() <= a1.getX() && a1.getX() <= b2.getX()) || (a1.getX() <= b1.getX() && b1.getX() <= a2.getX());
    const bool y_overlap =
        (b1.getY() <= a1.getY() && a1.getY() <= b2.getY()) || (a1.getY() <= b1.getY() && b1.getY() <= a2.getY());
    return x_overlap && y_overlap;
}
bool valueInRange(float value, float min, float max);
// Inclusive of all four edges.
bool boxContainsPosition(Box b, Vector p);
// True when `a` lies inside `b`.
bool boxContainsBox(Box a, Box b);
float distance(Vector p1, Vector p2);

} // namespace vq

#endif
