#ifndef VQ_CORE_VECTOR_H
#define VQ_CORE_VECTOR_H

namespace vq {

// A point or displacement in character cells: x to the right, y downwards.
class Vector {
public:
    Vector();
    Vector(float init_x, float init_y);

    float getX() const;
    void setX(float new_x);
    float getY() const;
    void setY(float new_y);
    void setXY(float new_x, float new_y);

    float getMagnitude() const;
    // Scales to length 1; a zero vector stays zero.
    void normalize();
    void scale(float s);

    Vector operator+(const Vector& other) const;
    Vector operator-(const Vector& other) const;
    bool operator==(const Vector& other) const;
    bool operator!=(const Vector& other) const;

private:
    float m_x;
    float m_y;
};

} // namespace vq

#endif
