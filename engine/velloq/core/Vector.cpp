#include <velloq/core/Vector.h>

#include <cmath>

namespace vq {

float Vector::getMagnitude() const {
    const double x = m_x;
    const double y = m_y;
    return static_cast<float>(std::sqrt(x * x + y * y));
}

void Vector::normalize() {
    const float length = getMagnitude();
    if (length > 0) {
        m_x = m_x / length;
        m_y = m_y / length;
    }
}

void Vector::scale(float s) {
    m_x = m_x * s;
    m_y = m_y * s;
}

} // namespace vq
