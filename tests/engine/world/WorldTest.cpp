#include <gtest/gtest.h>

#include <csignal>
#include <stdexcept>
#include <string>
#include <vector>

#include <velloq/core/EventStep.h>
#include <velloq/display/DisplayManager.h>
#include <velloq/input/InputManager.h>
#include <velloq/resources/ResourceManager.h>
#include <velloq/world/EventCollision.h>
#include <velloq/world/GameManager.h>
#include <velloq/world/Object.h>
#include <velloq/world/ObjectList.h>
#include <velloq/world/WorldManager.h>

#include "LogCapture.h"

using vq::GameManager;
using vq::Object;
using vq::Vector;
using vq::WorldManager;

namespace {

TEST(Object, DefaultsIdentifiersRangesAndVelocity) {
    auto* p_first = new Object;
    const int id = p_first->getId();
    delete p_first;
    Object object;
    EXPECT_EQ(id + 1, object.getId()) << "identifiers are never reused";
    EXPECT_EQ(2, object.getAltitude());
    EXPECT_EQ(vq::HARD, object.getSolidness());
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

// Records what happens to it in a journal shared by the probes of a test.
class Probe : public Object {
public:
    Probe(std::vector<std::string>& journal, std::string name, Vector at, vq::Solidness solidness = vq::HARD)
        : m_journal(journal), m_name(std::move(name)) {
        setPosition(at);
        setSolidness(solidness);
    }
    ~Probe() override { m_journal.push_back(m_name + " deleted"); }
    int eventHandler(const vq::Event* p_e) override {
        const std::string type = p_e->getType();
        collisions += type == vq::COLLISION_EVENT;
        outs += type == vq::OUT_EVENT;
        if (type == vq::STEP_EVENT) {
            const int step = dynamic_cast<const vq::EventStep*>(p_e)->getStepCount();
            m_journal.push_back(m_name + " step " + std::to_string(step));
            if (step == stop_at_step) // by a signal, or directly
                stop_signal != 0 ? void(std::raise(stop_signal)) : GameManager::getInstance().setGameOver(true);
            if (spawn_on_step && step == 0)
                new Probe(m_journal, m_name + "'s child", getPosition(), vq::GHOST);
        }
        if ((type == vq::STEP_EVENT && delete_on_step) || (type == vq::COLLISION_EVENT && delete_on_collision))
            WorldManager::getInstance().markForDelete(this);
        return 1;
    }
    int draw() override {
        m_journal.push_back(m_name + " drawn");
        return 0;
    }
    int collisions = 0, outs = 0, stop_at_step = -1, stop_signal = 0;
    bool delete_on_step = false, delete_on_collision = false, spawn_on_step = false;

private:
    std::vector<std::string>& m_journal;
    std::string m_name;
};

class WorldTest : public ::testing::Test {
protected:
    Probe* make(const std::string& name, Vector at, vq::Solidness solidness = vq::HARD) {
        return new Probe(journal, name, at, solidness);
    }
    void TearDown() override { world.shutDown(); }
    std::vector<std::string> journal;
    WorldManager& world = WorldManager::getInstance();
};

TEST_F(WorldTest, KeepsItsObjectsOnceAndFindsThemByType) {
    Probe* a = make("a", Vector());
    Probe* b = make("b", Vector());
    a->setType("Plot");
    EXPECT_EQ(-1, world.insertObject(a)) << "already there";
    EXPECT_TRUE(world.objectsOfType("Plot").getCount() == 1 && world.objectsOfType("Plot")[0] == a);
    EXPECT_EQ(0, world.objectsOfType("Plo").getCount());
    EXPECT_EQ(0, world.removeObject(b));
    EXPECT_EQ(-1, world.removeObject(b));
    EXPECT_EQ(0, world.insertObject(b)); // back, so shut-down deletes it
    world.shutDown();
    EXPECT_EQ((std::vector<std::string>{"a deleted", "b deleted"}), journal);
    EXPECT_EQ(0, world.getAllObjects().getCount());
}

// Both sides of a collision hear of it; only two hard objects block each
// other, or a mover that refuses soft ones; ghosts take no part.
TEST_F(WorldTest, CollisionsBlockByTheSolidnessOfBothSides) {
    const struct {
        vq::Solidness mover, other;
        bool no_soft, moves;
        int collisions;
    } cases[] = {{vq::HARD, vq::HARD, false, false, 1}, {vq::HARD, vq::SOFT, false, true, 1},
                 {vq::SOFT, vq::HARD, false, true, 1},  {vq::SOFT, vq::SOFT, false, true, 1},
                 {vq::HARD, vq::SOFT, true, false, 1},  {vq::GHOST, vq::HARD, false, true, 0},
                 {vq::HARD, vq::GHOST, false, true, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.mover) + " into " + std::to_string(c.other) + (c.no_soft ? " no soft" : ""));
        Probe* mover = make("mover", Vector(10, 5), c.mover);
        Probe* other = make("other", Vector(11, 5), c.other);
        mover->setNoSoft(c.no_soft);
        mover->setVelocity(Vector(0.5f, 0));
        world.update();
        EXPECT_EQ(mover->getPosition(), c.moves ? Vector(10.5f, 5) : Vector(10, 5));
        EXPECT_EQ(mover->collisions, c.collisions);
        EXPECT_EQ(other->collisions, c.collisions);
        world.shutDown();
    }
    Probe* left = make("left", Vector(10, 5));
    Probe* right = make("right", Vector(11, 5));
    left->setVelocity(Vector(0.5f, 0));
    right->setVelocity(Vector(-0.5f, 0));
    world.update();
    EXPECT_EQ(right->getPosition(), Vector(11, 5));
    EXPECT_EQ(left->collisions + right->collisions, 4) << "each once as the mover, once as the one run into";
}

TEST_F(WorldTest, OutEventsOnlyBeyondTheGridOncePerMove) {
    Probe* edge = make("edge", Vector(79.5f, 5), vq::GHOST);
    Probe* beyond = make("beyond", Vector(79.5f, 8), vq::GHOST);
    Probe* top = make("top", Vector(5, 0.5f), vq::GHOST);
    Probe* still = make("still", Vector(-3, -3), vq::GHOST);
    edge->setVelocity(Vector(0.5f, 0)); // ends exactly on 80: still inside
    beyond->setVelocity(Vector(1, 0));
    top->setVelocity(Vector(0, -1));
    world.update();
    world.update();
    EXPECT_EQ(edge->outs, 1) << "only on its second move";
    EXPECT_EQ(beyond->outs, 2);
    EXPECT_EQ(top->outs, 2);
    EXPECT_EQ(still->outs, 0) << "never moved, never told";
}

TEST_F(WorldTest, DeletionsHappenAtTheNextUpdateOnceAndDrawingGoesByAltitude) {
    Probe* on_step = make("on_step", Vector(1, 1), vq::GHOST);
    Probe* on_collision = make("on_collision", Vector(10, 5));
    Probe* wall = make("wall", Vector(11, 5));
    on_step->delete_on_step = true;
    on_collision->delete_on_collision = true;
    on_collision->setVelocity(Vector(0.5f, 0));
    wall->setAltitude(vq::MAX_ALTITUDE);
    make("low", Vector(), vq::GHOST)->setAltitude(0);
    make("also low", Vector(), vq::GHOST)->setAltitude(0);
    on_collision->spawn_on_step = true; // what a broadcast creates does not hear it
    const vq::EventStep step(0);
    EXPECT_EQ(world.onEvent(&step), 5)
        << "the handlers' results add up"; // as the loop runs a frame: step, update, draw
    world.update();
    world.draw();
    EXPECT_EQ((std::vector<std::string>{"on_step step 0", "on_collision step 0", "wall step 0", "low step 0",
                                        "also low step 0", "on_step deleted", "low drawn", "also low drawn",
                                        "on_collision drawn", "on_collision's child drawn", "wall drawn"}),
              journal);
    journal.clear();
    world.markForDelete(wall);
    world.markForDelete(wall);
    world.update();
    world.update();
    EXPECT_EQ((std::vector<std::string>{"on_collision deleted", "wall deleted"}), journal);
}

// Lateness is made up in the next frame, never more than a frame of it, and
// sleeps stay within a frame: the loop neither races after a stop nor freezes.
TEST(LoopPacing, LatenessIsMadeUpByAtMostOneFrameAndSleepsStayWithinAFrame) {
    const int64_t stop = 20LL * 1000 * 1000, hour = 3600LL * 1000 * 1000;
    const struct {
        int64_t loop, carried, planned, slept, late;
    } frames[] = {{40000, 0, 0, 0, 7000},         // a 40 ms frame: no sleep, 7 ms late
                  {10000, 7000, 16000, 16000, 0}, // made up in the next
                  {10000, 0, 23000, 25000, 2000}, // overslept
                  {10000, 0, 23000, 22000, 0},    // undersleeping is not made up
                  {stop, 0, 0, 0, 33000},         // stopped 20 s in a step: one frame made up
                  {1000, 0, 32000, stop, 33000},  // or in a sleep
                  {-hour, 0, 33000, 33000, 0}};   // a step the clock set back an hour
    for (const auto& f : frames) {
        EXPECT_EQ(f.planned, GameManager::plannedSleep(33, f.loop, f.carried)) << f.loop << " " << f.slept;
        EXPECT_EQ(f.late, GameManager::sleepAdjustment(33, f.loop, f.slept, f.carried)) << f.loop << " " << f.slept;
    }
}

TEST(GameManager, StartUpStopsAtTheFirstManagerThatFails) {
    vqtest::TempDir dir; // no font here, so a display with a window cannot start
    vq::DisplayManager::getInstance().setHeadless(false);
    GameManager& game = GameManager::getInstance();
    vq::LogManager::getInstance().setFlush(true);
    EXPECT_EQ(-1, game.startUp());
    EXPECT_TRUE(vq::LogManager::getInstance().isStarted() && WorldManager::getInstance().isStarted());
    EXPECT_FALSE(vq::DisplayManager::getInstance().isStarted() || vq::InputManager::getInstance().isStarted() ||
                 vq::ResourceManager::getInstance().isStarted() || game.isStarted());
    EXPECT_EQ(-1, vq::InputManager::getInstance().startUp());
    game.setGameOver(false);
    game.setGameOver(true);
    // Stopping stops only what started.
    EXPECT_EQ(0, game.shutDown());
    const std::string log = vqtest::TempDir::read(vq::LOGFILE_NAME);
    EXPECT_EQ(log.substr(log.find("WorldManager")), "WorldManager started\nFailed to load font " + dir.path() +
                                                        "/vq-font.ttf: No such file or directory\nCannot start "
                                                        "InputManager before DisplayManager\nGame no longer over\n"
                                                        "Game over\nWorldManager shut down\n");
}

// Game over set in a step, or SIGTERM, SIGINT or SIGHUP in one: the frame
// finishes, the managers stop in reverse order, the signals act as before.
TEST(GameManager, GameOverOrASignalInAStepFinishesTheFrameThenShutsEverythingDown) {
    const std::pair<int, std::string> endings[] = {
        {0, ""}, {SIGTERM, "SIGTERM"}, {SIGINT, "SIGINT"}, {SIGHUP, "SIGHUP"}};
    for (const auto& ending : endings) {
        SCOPED_TRACE(ending.second);
        vqtest::TempDir dir;
        GameManager& game = GameManager::getInstance();
        ASSERT_EQ(0, game.startUp());
        const int first = game.getStepCount();
        std::vector<std::string> journal;
        Probe* p = new Probe(journal, "p", Vector(), vq::GHOST);
        p->stop_at_step = first + 2;
        p->stop_signal = ending.first;
        game.run();
        ASSERT_EQ(7u, journal.size()) << "three frames";
        EXPECT_EQ(journal[4] + ", " + journal[5] + ", " + journal[6],
                  "p step " + std::to_string(first + 2) + ", p drawn, p deleted");
        EXPECT_EQ(first + 3, game.getStepCount());
        EXPECT_FALSE(vq::DisplayManager::getInstance().isStarted() || vq::LogManager::getInstance().isStarted());
        std::string order;
        const std::string log = vqtest::TempDir::read(vq::LOGFILE_NAME);
        for (size_t at = log.find("Manager "); at != std::string::npos; at = log.find("Manager ", at + 1))
            order += log.substr(log.rfind('\n', at) + 1, 1) + (log.compare(at + 8, 7, "started") == 0 ? "+" : "-");
        EXPECT_EQ(order, "L+W+D+I+R+G+R-I-D-W-") << "managers start in order and stop the other way round";
        EXPECT_EQ(log.find("Ending on " + ending.second + "\nGame over\n") != std::string::npos, ending.first != 0);
        struct sigaction now;
        EXPECT_TRUE(sigaction(SIGHUP, nullptr, &now) == 0 && now.sa_handler == SIG_DFL);
    }
}

} // namespace
