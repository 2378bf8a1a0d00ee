#include <velloq/core/Box.h>

namespace vq {

void Box::setOtherCorner(Vector other_corner) {
    m_horizontal = other_corner.getX() - m_corner.getX();
    m_vertical = other_corner.getY() - m_corner.getY();
}

} // namespace vq
