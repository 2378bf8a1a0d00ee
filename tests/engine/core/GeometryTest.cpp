#include <gtest/gtest.h>

#include "core/Box.h"
#include "core/Geometry.h"
#include "core/Vector.h"

using vq::Box;
using vq::Vector;

namespace {

TEST(Vector, ArithmeticMagnitudeNormalizeAndScale) {
    const Vector a(1.5f, 2), b(0.5f, -1);
    EXPECT_EQ(Vector(2, 1), a + b);
    EXPECT_EQ(Vector(1, 3), a - b);
    EXPECT_TRUE(a != b);
    Vector v(3, 4);
    EXPECT_FLOAT_EQ(5, v.getMagnitude());
    v.normalize();
    EXPECT_EQ(Vector(0.6f, 0.8f), v);
    Vector zero;
    zero.normalize(); // no division by zero
    EXPECT_EQ(Vector(0, 0), zero);
    v = Vector(2, -3);
    v.scale(-1);
    EXPECT_EQ(Vector(-2, 3), v);
    EXPECT_FLOAT_EQ(5, vq::distance(Vector(1, 1), Vector(4, 5)));
}

TEST(Box, OtherCornerFollowsTheCorner) {
    Box box(Vector(1, 2), 3, 4);
    EXPECT_EQ(Vector(4, 6), box.getOtherCorner());
    box.setCorner(Vector(0, 0));
    EXPECT_EQ(Vector(3, 4), box.getOtherCorner());
    box.setOtherCorner(Vector(10, 1));
    EXPECT_FLOAT_EQ(10, box.getHorizontal());
    EXPECT_FLOAT_EQ(1, box.getVertical());
}

// Edges and corners belong to a box: touching counts as meeting.
TEST(Geometry, EdgesAreInside) {
    const Box a(Vector(0, 0), 2, 2);
    const std::pair<Box, bool> others[] = {
        {Box(Vector(2, 0), 1, 1), true},        {Box(Vector(2, 2), 1, 1), true},  {Box(Vector(1, 1), 0, 0), true},
        {Box(Vector(-1, -1), 5, 5), true},      {Box(Vector(2.01f, 0), 1, 1), false},
        {Box(Vector(0, -3), 2, 2.5f), false},   {Box(Vector(-1, 0.5f), 0.99f, 1), false}};
    for (const auto& o : others) {
        EXPECT_EQ(vq::boxIntersectsBox(a, o.first), o.second) << o.first.getCorner().getX() << o.first.getCorner().getY();
        EXPECT_EQ(vq::boxIntersectsBox(o.first, a), o.second);
    }
    const Box box(Vector(1, 1), 4, 2);
    const std::pair<Vector, bool> points[] = {{Vector(1, 1), true},     {Vector(5, 3), true},  {Vector(3, 2), true},
                                              {Vector(5.01f, 3), false}, {Vector(1, 0.99f), false}};
    for (const auto& p : points)
        EXPECT_EQ(vq::boxContainsPosition(box, p.first), p.second) << p.first.getX() << "," << p.first.getY();
    EXPECT_TRUE(vq::boxContainsBox(Box(Vector(2, 1.5f), 1, 1), box));
    EXPECT_TRUE(vq::boxContainsBox(box, box));
    EXPECT_FALSE(vq::boxContainsBox(box, Box(Vector(2, 1.5f), 1, 1)));
    EXPECT_TRUE(vq::positionsIntersect(Vector(0, 0), Vector(1, -1)));
    EXPECT_FALSE(vq::positionsIntersect(Vector(0, 0), Vector(1.01f, 0)));
}

} // namespace
