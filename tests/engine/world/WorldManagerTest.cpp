#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/EventStep.h"
#include "world/EventCollision.h"
#include "world/Object.h"
#include "world/WorldManager.h"

using vq::Object;
using vq::Vector;
using vq::WorldManager;

namespace {

// Records what happens to it in a journal shared by all probes of a test.
class Probe : public Object {
public:
    Probe(std::vector<std::string>& journal, std::string name) : m_journal(journal), m_name(std::move(name)) {}
    ~Probe() override { m_journal.push_back(m_name + " deleted"); }

    int eventHandler(const vq::Event* p_e) override {
        const std::string type = p_e->getType();
        if (type == vq::COLLISION_EVENT) {
            collisions++;
            if (mark_on_collision)
                WorldManager::getInstance().markForDelete(this);
        } else if (type == vq::OUT_EVENT) {
            outs++;
        } else if (type == vq::STEP_EVENT && mark_on_step) {
            WorldManager::getInstance().markForDelete(this);
        }
        return 1;
    }
    int draw() override {
        m_journal.push_back(m_name + " drawn");
        return 0;
    }

    int collisions = 0;
    int outs = 0;
    bool mark_on_step = false;
    bool mark_on_collision = false;

private:
    std::vector<std::string>& m_journal;
    std::string m_name;
};

class WorldTest : public ::testing::Test {
protected:
    Probe* make(const std::string& name, Vector pos, vq::Solidness solidness = vq::HARD) {
        auto* p = new Probe(journal, name);
        p->setPosition(pos);
        p->setSolidness(solidness);
        return p;
    }
    void TearDown() override { WorldManager::getInstance().shutDown(); }
    std::vector<std::string> journal;
};

TEST_F(WorldTest, InsertRemoveAndQueries) {
    WorldManager& world = WorldManager::getInstance();
    Probe* a = make("a", Vector());
    Probe* b = make("b", Vector());
    a->setType("Plot");
    EXPECT_EQ(2, world.getAllObjects().getCount());
    EXPECT_EQ(-1, world.insertObject(a)); // already there
    ASSERT_EQ(1, world.objectsOfType("Plot").getCount());
    EXPECT_EQ(a, world.objectsOfType("Plot")[0]);
    EXPECT_EQ(0, world.objectsOfType("Plo").getCount());
    EXPECT_EQ(0, world.removeObject(b));
    EXPECT_EQ(1, world.getAllObjects().getCount());
    EXPECT_EQ(-1, world.removeObject(b)); // no longer there
    EXPECT_EQ(0, world.insertObject(b));  // back, so shut-down deletes it
}

TEST_F(WorldTest, HardAgainstHardBlocksBothAndBothAreTold) {
    Probe* left = make("left", Vector(10, 5));
    Probe* right = make("right", Vector(11, 5));
    left->setVelocity(Vector(0.5f, 0));
    right->setVelocity(Vector(-0.5f, 0));
    WorldManager::getInstance().update();
    EXPECT_EQ(Vector(10, 5), left->getPosition());
    EXPECT_EQ(Vector(11, 5), right->getPosition());
    // Once as the mover, once as the object run into.
    EXPECT_EQ(2, left->collisions);
    EXPECT_EQ(2, right->collisions);
}

TEST_F(WorldTest, SoftNeverBlocksUnlessTheMoverRefusesSoft) {
    Probe* mover = make("mover", Vector(10, 5));
    Probe* soft = make("soft", Vector(11, 5), vq::SOFT);
    mover->setVelocity(Vector(0.5f, 0));
    WorldManager::getInstance().update();
    EXPECT_EQ(Vector(10.5f, 5), mover->getPosition());
    EXPECT_EQ(1, mover->collisions);
    EXPECT_EQ(1, soft->collisions);

    mover->setNoSoft(true);
    WorldManager::getInstance().update();
    EXPECT_EQ(Vector(10.5f, 5), mover->getPosition());
    EXPECT_EQ(2, soft->collisions);
}

TEST_F(WorldTest, GhostsNeitherCollideNorAreCollidedWith) {
    Probe* ghost = make("ghost", Vector(10, 5), vq::GHOST);
    Probe* wall = make("wall", Vector(11, 5));
    ghost->setVelocity(Vector(1, 0));
    WorldManager::getInstance().update();
    EXPECT_EQ(Vector(11, 5), ghost->getPosition());
    EXPECT_EQ(0, ghost->collisions);
    EXPECT_EQ(0, wall->collisions);
}

TEST_F(WorldTest, OutEventsOnlyBeyondTheGrid) {
    Probe* edge = make("edge", Vector(79.5f, 5), vq::GHOST);
    Probe* beyond = make("beyond", Vector(79.5f, 8), vq::GHOST);
    edge->setVelocity(Vector(0.5f, 0));   // ends exactly on 80: still inside
    beyond->setVelocity(Vector(1, 0));    // ends on 80.5
    WorldManager::getInstance().update();
    EXPECT_EQ(0, edge->outs);
    EXPECT_EQ(1, beyond->outs);
    WorldManager::getInstance().update(); // keeps moving outside: one per frame
    EXPECT_EQ(2, beyond->outs);

    Probe* still = make("still", Vector(-3, -3), vq::GHOST);
    WorldManager::getInstance().update();
    EXPECT_EQ(0, still->outs); // never moved, never told
}

TEST_F(WorldTest, SelfDeletionTimingRelativeToDrawing) {
    WorldManager& world = WorldManager::getInstance();
    Probe* on_step = make("on_step", Vector(1, 1), vq::GHOST);
    Probe* on_collision = make("on_collision", Vector(10, 5));
    make("wall", Vector(11, 5));
    on_step->mark_on_step = true;
    on_collision->mark_on_collision = true;
    on_collision->setVelocity(Vector(0.5f, 0));

    // One frame as the loop runs it: step event, update, draw.
    const vq::EventStep step;
    world.onEvent(&step);
    world.update();
    world.draw();
    EXPECT_EQ((std::vector<std::string>{"on_step deleted", "on_collision drawn", "wall drawn"}), journal);

    journal.clear();
    world.update();
    EXPECT_EQ((std::vector<std::string>{"on_collision deleted"}), journal);
}

TEST_F(WorldTest, MarkingTwiceDeletesOnce) {
    WorldManager& world = WorldManager::getInstance();
    Probe* p = make("p", Vector());
    EXPECT_EQ(0, world.markForDelete(p));
    EXPECT_EQ(0, world.markForDelete(p));
    world.update();
    world.update();
    EXPECT_EQ((std::vector<std::string>{"p deleted"}), journal);
    EXPECT_EQ(0, world.getAllObjects().getCount());
}

TEST_F(WorldTest, DrawsByAltitudeThenWorldOrder) {
    Probe* top = make("top", Vector());
    Probe* low = make("low", Vector());
    Probe* mid_a = make("mid_a", Vector());
    Probe* mid_b = make("mid_b", Vector());
    top->setAltitude(4);
    low->setAltitude(0);
    mid_a->setAltitude(2);
    mid_b->setAltitude(2);
    WorldManager::getInstance().draw();
    EXPECT_EQ((std::vector<std::string>{"low drawn", "mid_a drawn", "mid_b drawn", "top drawn"}), journal);
}

TEST_F(WorldTest, ShutDownDeletesEverything) {
    make("a", Vector());
    make("b", Vector());
    WorldManager::getInstance().shutDown();
    EXPECT_EQ((std::vector<std::string>{"a deleted", "b deleted"}), journal);
    EXPECT_EQ(0, WorldManager::getInstance().getAllObjects().getCount());
}

TEST_F(WorldTest, BroadcastSkipsObjectsCreatedDuringIt) {
    struct Spawner : Object {
        int eventHandler(const vq::Event*) override {
            received++;
            if (received == 1)
                child = new Spawner;
            return 1;
        }
        int received = 0;
        Spawner* child = nullptr;
    };
    auto* spawner = new Spawner;
    auto* other = new Probe(journal, "other");
    const vq::EventStep step;
    EXPECT_EQ(2, WorldManager::getInstance().onEvent(&step));
    ASSERT_NE(nullptr, spawner->child);
    EXPECT_EQ(0, spawner->child->received);
    (void)other;
}

} // namespace
