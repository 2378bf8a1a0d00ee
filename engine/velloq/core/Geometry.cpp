#include <velloq/core/Geometry.h>

#include <cmath>

namespace vq {

bool positionsIntersect(Vector p1, Vector p2) {
    return std::fabs(p1.getX() - p2.getX()) <= 1 && std::fabs(p1.getY() - p2.getY()) <= 1;
}

bool valueInRange(float value, float min, float max) { return min <= value && value <= max; }

bool boxContainsPosition(Box b, Vector p) {
    const Vector corner = b.getCorner();
    const Vector other = b.getOtherCorner();
    return valueInRange(p.getX(), corner.getX(), other.getX()) && valueInRange(p.getY(), corner.getY(), other.getY());
}

bool boxContainsBox(Box a, Box b) {
    return boxContainsPosition(b, a.getCorner()) && boxContainsPosition(b, a.getOtherCorner());
}

float distance(Vector p1, Vector p2) {
    const Vector d = p1 - p2;
    return std::sqrt(d.getX() * d.getX() + d.getY() * d.getY());
}

} // namespace vq
