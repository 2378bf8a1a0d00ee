#include <gtest/gtest.h>

#include "core/Box.h"
#include "core/Geometry.h"
#include "core/Vector.h"
#include "world/Object.h"

using vq::Box;
using vq::Vector;

namespace {

TEST(Vector, MagnitudeNormalizeAndScale) {
    Vector v(3, 4);
    EXPECT_FLOAT_EQ(5, v.getMagnitude());
    v.normalize();
    EXPECT_FLOAT_EQ(0.6f, v.getX());
    EXPECT_FLOAT_EQ(0.8f, v.getY());

    Vector zero;
    zero.normalize(); // no division by zero
    EXPECT_EQ(Vector(0, 0), zero);

    Vector w(2, -3);
    w.scale(-1);
    EXPECT_EQ(Vector(-2, 3), w);
    w.scale(0);
    EXPECT_EQ(0, w.getX());
    EXPECT_EQ(0, w.getY());
}

TEST(Vector, ArithmeticLeavesOperandsAlone) {
    const Vector a(1.5f, 2);
    const Vector b(0.5f, -1);
    EXPECT_EQ(Vector(2, 1), a + b);
    EXPECT_EQ(Vector(1, 3), a - b);
    EXPECT_EQ(Vector(1.5f, 2), a);
    EXPECT_TRUE(a != b);
}

TEST(Box, OtherCornerFollowsTheCorner) {
    Box box(Vector(1, 2), 3, 4);
    EXPECT_EQ(Vector(4, 6), box.getOtherCorner());
    box.setCorner(Vector(0, 0)); // the extents stay
    EXPECT_EQ(Vector(3, 4), box.getOtherCorner());
    box.setOtherCorner(Vector(10, 1));
    EXPECT_FLOAT_EQ(10, box.getHorizontal());
    EXPECT_FLOAT_EQ(1, box.getVertical());
}

TEST(Geometry, PositionsIntersectWithinOneCell) {
    EXPECT_TRUE(vq::positionsIntersect(Vector(0, 0), Vector(1, 1)));
    EXPECT_FALSE(vq::positionsIntersect(Vector(0, 0), Vector(1.01f, 0)));
    EXPECT_FALSE(vq::positionsIntersect(Vector(0, 0), Vector(0, -1.5f)));
}

TEST(Geometry, BoxesIntersectInclusively) {
    const Box a(Vector(0, 0), 2, 2);
    EXPECT_TRUE(vq::boxIntersectsBox(a, Box(Vector(2, 0), 1, 1)));   // shared edge
    EXPECT_TRUE(vq::boxIntersectsBox(a, Box(Vector(2, 2), 1, 1)));   // shared corner
    EXPECT_TRUE(vq::boxIntersectsBox(Box(Vector(1, 1), 0, 0), a));   // a point inside
    EXPECT_TRUE(vq::boxIntersectsBox(a, Box(Vector(-1, -1), 5, 5))); // containing
    EXPECT_FALSE(vq::boxIntersectsBox(a, Box(Vector(2.01f, 0), 1, 1)));
    EXPECT_FALSE(vq::boxIntersectsBox(a, Box(Vector(0, -3), 2, 2.5f)));

    // Default object boxes one cell apart do not touch; half a cell apart they do.
    const Box unit(Vector(-0.5f, -0.5f), 0.99f, 0.99f);
    Box right = unit;
    right.setCorner(unit.getCorner() + Vector(1, 0));
    EXPECT_FALSE(vq::boxIntersectsBox(unit, right));
    right.setCorner(unit.getCorner() + Vector(0.5f, 0));
    EXPECT_TRUE(vq::boxIntersectsBox(unit, right));
}

TEST(Geometry, ContainmentIncludesTheFarEdge) {
    const Box box(Vector(1, 1), 4, 2);
    EXPECT_TRUE(vq::boxContainsPosition(box, Vector(5, 3)));
    EXPECT_TRUE(vq::boxContainsPosition(box, Vector(1, 1)));
    EXPECT_FALSE(vq::boxContainsPosition(box, Vector(5.01f, 3)));

    const Box small(Vector(2, 1.5f), 1, 1);
    EXPECT_TRUE(vq::boxContainsBox(small, box));
    EXPECT_FALSE(vq::boxContainsBox(box, small));
    EXPECT_TRUE(vq::valueInRange(5, 5, 5));
    EXPECT_FLOAT_EQ(5, vq::distance(Vector(1, 1), Vector(4, 5)));
}

TEST(Geometry, WorldBoxMovesTheObjectBox) {
    vq::Object object;
    object.setBox(Box(Vector(-2.5f, -1.5f), 5, 3));
    object.setPosition(Vector(10, 4));
    const Box at_position = vq::getWorldBox(&object);
    EXPECT_EQ(Vector(7.5f, 2.5f), at_position.getCorner());
    EXPECT_FLOAT_EQ(5, at_position.getHorizontal());
    const Box elsewhere = vq::getWorldBox(&object, Vector(0, 0));
    EXPECT_EQ(Vector(-2.5f, -1.5f), elsewhere.getCorner());
}

} // namespace
