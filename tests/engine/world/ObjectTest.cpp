#include <gtest/gtest.h>

#include <stdexcept>

#include "core/EventStep.h"
#include "world/EventCollision.h"
#include "world/Object.h"
#include "world/ObjectList.h"

using vq::Object;
using vq::ObjectList;
using vq::Vector;

namespace {

TEST(Object, IdentifiersCountUpAndAreNeverReused) {
    // Counted from whatever objects earlier tests in this process made.
    auto* first = new Object;
    auto* second = new Object;
    const int id = first->getId();
    EXPECT_GE(id, 0);
    EXPECT_EQ(id + 1, second->getId());
    delete first;
    Object third;
    EXPECT_EQ(id + 2, third.getId());
    delete second;
}

TEST(Object, Defaults) {
    Object object;
    EXPECT_EQ(2, object.getAltitude());
    EXPECT_EQ(vq::HARD, object.getSolidness());
    EXPECT_TRUE(object.isSolid());
    EXPECT_FALSE(object.getNoSoft());
    EXPECT_EQ(Vector(-0.5f, -0.5f), object.getBox().getCorner());
    EXPECT_FLOAT_EQ(0.99f, object.getBox().getHorizontal());
    EXPECT_EQ(0, object.getSpeed());
    EXPECT_EQ(0, object.eventHandler(nullptr));
    // No sprite: drawing fails.
    EXPECT_NE(0, object.draw());
}

TEST(Object, AltitudeOutsideTheRangeIsIgnored) {
    Object object;
    object.setAltitude(4);
    EXPECT_EQ(4, object.getAltitude());
    object.setAltitude(5);
    EXPECT_EQ(4, object.getAltitude());
    object.setAltitude(-1);
    EXPECT_EQ(4, object.getAltitude());
    object.setAltitude(0);
    EXPECT_EQ(0, object.getAltitude());
}

TEST(Object, VelocityIsDirectionTimesSpeed) {
    Object object;
    object.setVelocity(Vector(3, 4));
    EXPECT_FLOAT_EQ(5, object.getSpeed());
    EXPECT_FLOAT_EQ(0.6f, object.getDirection().getX());
    EXPECT_FLOAT_EQ(0.8f, object.getDirection().getY());
    EXPECT_NEAR(3, object.getVelocity().getX(), 1e-5);
    EXPECT_NEAR(4, object.getVelocity().getY(), 1e-5);
    object.setPosition(Vector(1, 1));
    EXPECT_NEAR(4, object.predictPosition().getX(), 1e-5);

    object.setVelocity(Vector(0, 0));
    EXPECT_EQ(0, object.getSpeed());
    EXPECT_EQ(Vector(0, 0), object.getDirection());

    // A direction set directly is not normalised.
    object.setDirection(Vector(2, 0));
    object.setSpeed(0.5f);
    EXPECT_EQ(Vector(1, 0), object.getVelocity());
}

TEST(Object, SolidnessRejectsUnknownValues) {
    Object object;
    EXPECT_EQ(0, object.setSolidness(vq::GHOST));
    EXPECT_FALSE(object.isSolid());
    EXPECT_EQ(-1, object.setSolidness(static_cast<vq::Solidness>(3)));
    EXPECT_EQ(vq::GHOST, object.getSolidness());
    EXPECT_EQ(0, object.setSolidness(vq::SOFT));
    EXPECT_TRUE(object.isSolid());
}

TEST(Object, SettingAMissingSpriteChangesNothing) {
    Object object;
    const vq::Box before = object.getBox();
    EXPECT_EQ(-1, object.setSprite("no_such_sprite"));
    EXPECT_EQ(before.getCorner(), object.getBox().getCorner());
    EXPECT_EQ(nullptr, object.getAnimation().getSprite());
}

TEST(ObjectList, CapacityIsAThousand) {
    ObjectList list;
    Object* p = reinterpret_cast<Object*>(0x1000);
    for (int i = 0; i < vq::MAX_OBJECTS; i++)
        ASSERT_EQ(0, list.insert(p + i));
    EXPECT_TRUE(list.isFull());
    EXPECT_EQ(-1, list.insert(p));
    EXPECT_EQ(vq::MAX_OBJECTS, list.getCount());
    list.clear();
    EXPECT_TRUE(list.isEmpty());
}

TEST(ObjectList, RemoveTakesTheFirstOccurrenceAndKeepsOrder) {
    Object* a = reinterpret_cast<Object*>(0x10);
    Object* b = reinterpret_cast<Object*>(0x20);
    ObjectList list;
    list.insert(a);
    list.insert(b);
    list.insert(a);
    EXPECT_EQ(0, list.remove(a));
    ASSERT_EQ(2, list.getCount());
    EXPECT_EQ(b, list[0]);
    EXPECT_EQ(a, list[1]);
    EXPECT_EQ(-1, list.remove(reinterpret_cast<Object*>(0x30)));
}

TEST(ObjectList, IndexOutsideTheCountThrows) {
    ObjectList list;
    list.insert(reinterpret_cast<Object*>(0x10));
    EXPECT_NO_THROW(list[0]);
    try {
        list[1];
        FAIL() << "no exception";
    } catch (const std::out_of_range& e) {
        EXPECT_STREQ("Index out of range", e.what());
    }
    EXPECT_THROW(list[-1], std::out_of_range);
}

TEST(ObjectList, SumDropsWhatDoesNotFit) {
    Object* base_a = reinterpret_cast<Object*>(0x100000);
    Object* base_b = reinterpret_cast<Object*>(0x200000);
    ObjectList a, b;
    for (int i = 0; i < 600; i++) {
        a.insert(base_a + i);
        b.insert(base_b + i);
    }
    const ObjectList sum = a + b;
    ASSERT_EQ(1000, sum.getCount());
    EXPECT_EQ(base_a + 599, sum[599]);
    EXPECT_EQ(base_b, sum[600]);
    EXPECT_EQ(base_b + 399, sum[999]);
    EXPECT_EQ(600, a.getCount()); // operands untouched
}

TEST(Events, TypesAndFields) {
    EXPECT_EQ("vq::undefined", vq::Event().getType());
    EXPECT_STREQ(vq::MOUSE_EVENT, vq::MSE_EVENT);
    EXPECT_STREQ("vq::mouse", vq::MSE_EVENT);
    EXPECT_EQ(0, vq::EventStep().getStepCount());
    EXPECT_EQ("vq::step", vq::EventStep(7).getType());

    Object plot, crow, other;
    plot.setType("Plot");
    crow.setType("Crow");
    const vq::EventCollision c(&crow, &plot, Vector(1, 2));
    EXPECT_EQ("vq::collision", c.getType());
    EXPECT_TRUE(c.isCollisionWith("Plot"));
    EXPECT_TRUE(c.isCollisionWith("Crow"));
    EXPECT_FALSE(c.isCollisionWith("Fly"));
    const vq::EventCollision same(&plot, &plot, Vector());
    EXPECT_TRUE(same.isCollisionWith("Plot"));
}

} // namespace
