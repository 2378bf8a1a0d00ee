#ifndef VQ_CORE_VECTOR_H
#define VQ_CORE_VECTOR_H

namespace vq {

// Small and copied everywhere, so the trivial members are inline.
// A point or displacement in character cells: x to the right, y downwards.
class Vector {
public:
    Vector() : m_x(0), m_y(0) {}
    Vector(float init_x, float init_y) : m_x(init_x), m_y(init_y) {}

    float getX() const { return m_x; }
    void setX(float new_x) { m_x = new_x; }
    float getY() const { return m_y; }
    void setY(float new_y) { m_y = new_y; }
    void setXY(float new_x, float new_y) {
        m_x = new_x;
        m_y = new_y;
    }

    float getMagnitude() const;
    // Scales to length 1; a zero vector stays zero.
    void normalize();
    void scale(float s);

    Vector operator+(const Vector& other) const { return Vector(m_x + other.m_x, m_y + other.m_y); }
    Vector operator-(const Vector& other) const { return Vector(m_x - other.m_x, m_y - other.m_y); }
    bool operator==(const Vector& other) const { return m_x == other.m_x && m_y == other.m_y; }
    bool operator!=(const Vector& other) const { return !(*this == other); }

private:
    float m_x;
    float m_y;
};

} // namespace vq

#endif
