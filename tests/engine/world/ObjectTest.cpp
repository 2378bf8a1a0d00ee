#include <gtest/gtest.h>

#include <stdexcept>

#include "world/EventCollision.h"
#include "world/Object.h"
#include "world/ObjectList.h"

using vq::Object;
using vq::Vector;

namespace {

TEST(Object, DefaultsIdentifiersRangesAndVelocity) {
    auto* p_first = new Object;
    const int id = p_first->getId();
    delete p_first;
    Object object;
    EXPECT_EQ(id + 1, object.getId()) << "identifiers are never reused";
    EXPECT_EQ(2, object.getAltitude());
    EXPECT_EQ(vq::HARD, object.getSolidness());
    EXPECT_EQ(Vector(-0.5f, -0.5f), object.getBox().getCorner());
    EXPECT_FLOAT_EQ(0.99f, object.getBox().getHorizontal());
    EXPECT_NE(0, object.draw()) << "no sprite";
    EXPECT_EQ(-1, object.setSprite("no_such_sprite"));
    for (const std::pair<int, int>& set_and_kept : {std::pair<int, int>{4, 4}, {5, 4}, {-1, 4}, {0, 0}}) {
        object.setAltitude(set_and_kept.first);
        EXPECT_EQ(set_and_kept.second, object.getAltitude()) << set_and_kept.first;
    }
    EXPECT_EQ(-1, object.setSolidness(static_cast<vq::Solidness>(3)));
    EXPECT_EQ(0, object.setSolidness(vq::GHOST));
    EXPECT_FALSE(object.isSolid());

    object.setVelocity(Vector(0, 0)); // no division by zero
    EXPECT_EQ(Vector(0, 0), object.getDirection());
    object.setVelocity(Vector(3, 4) + Vector(1, 1) - Vector(1, 1));
    EXPECT_FLOAT_EQ(5, object.getSpeed());
    EXPECT_EQ(Vector(0.6f, 0.8f), object.getDirection());
    object.setPosition(Vector(1, 1));
    EXPECT_NEAR(4, object.predictPosition().getX(), 1e-5);
    EXPECT_NEAR(5, object.predictPosition().getY(), 1e-5);
    object.setDirection(Vector(2, 0)); // set directly: not normalised
    object.setSpeed(0.5f);
    EXPECT_EQ(Vector(1, 0), object.getVelocity());
}

TEST(ObjectList, HoldsAThousandInOrderAndThrowsOutOfRange) {
    Object* const p = reinterpret_cast<Object*>(0x1000);
    vq::ObjectList list, other;
    for (int i = 0; i < vq::MAX_OBJECTS; i++)
        ASSERT_EQ(0, list.insert(p + i));
    EXPECT_EQ(-1, list.insert(p));
    EXPECT_EQ(0, list.remove(p + 1));
    EXPECT_EQ(-1, list.remove(p + 1));
    EXPECT_EQ(p + 2, list[1]) << "later entries move up";
    for (int i = 0; i < 600; i++)
        other.insert(p + 5000 + i);
    const vq::ObjectList sum = other + list; // what does not fit is dropped
    EXPECT_EQ(1000, sum.getCount());
    EXPECT_EQ(p, sum[600]);
    try {
        list[999];
        FAIL() << "no exception";
    } catch (const std::out_of_range& e) {
        EXPECT_STREQ("Index out of range", e.what());
    }
    EXPECT_THROW(list[-1], std::out_of_range);
    list.clear();
    EXPECT_TRUE(list.isEmpty());
}

TEST(EventCollision, NamesBothSides) {
    Object plot, crow;
    plot.setType("Plot");
    crow.setType("Crow");
    const vq::EventCollision c(&crow, &plot, Vector(1, 2));
    EXPECT_EQ("vq::collision", c.getType());
    EXPECT_TRUE(c.isCollisionWith("Plot") && c.isCollisionWith("Crow"));
    EXPECT_FALSE(c.isCollisionWith("Fly"));
}

} // namespace
