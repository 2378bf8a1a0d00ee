// Crows and flies: their waits, wandering, hits from clicks and harm to plots.

#include <gtest/gtest.h>

#include <velloq/core/Geometry.h>
#include <velloq/world/EventCollision.h>

#include "GameHarness.h"
#include "common/EventNewDay.h"
#include "common/EventStateChange.h"
#include "field/Plot.h"
#include "pests/Crow.h"
#include "pests/Fly.h"

using namespace vqtest;

namespace {

void bringOut(Pest* p) {
    for (int i = 0; i < 3000 && !p->getSpawned(); i++)
        steps();
    ASSERT_TRUE(p->getSpawned());
}
// Delivered to the pest alone, so no other object draws random numbers.
void clickOn(Pest* p, vq::Vector where) {
    vq::EventMouse e;
    e.setMouseAction(vq::CLICKED);
    e.setMousePosition(where);
    p->eventHandler(&e);
}
void clickOn(Pest* p) { clickOn(p, p->getPosition()); }
void shop(bool shop) {
    EventStateChange e;
    e.setFarm(!shop);
    send(e);
}
// A pest in one line: out or hidden, health, hurt countdown, speed and looks.
std::string state(const Pest* p) {
    return std::string(p->getSpawned() ? "out" : "hidden") + " health " + std::to_string(p->getHealth()) + " hurt " +
           std::to_string(p->getHurtCountdown()) + " speed " + std::to_string(p->getSpeed()).substr(0, 3) + " " +
           spriteLabel(p);
}
// A wait after hiding is at least the delay and less than half as much again.
bool waitsAsItShould(const Pest* p) {
    return p->getSpawnCountdown() >= p->getDelay() && p->getSpawnCountdown() < p->getDelay() * 3 / 2;
}

using PestTest = GameTest;

TEST_F(PestTest, DelaysAreSetByKindShortenByTheDayAndLengthenWithPurchases) {
    auto* crow = new Crow();
    auto* fly = new Fly();
    for (const Pest* p : {static_cast<Pest*>(crow), static_cast<Pest*>(fly)})
        EXPECT_TRUE(p->getSpawnCountdown() >= 700 && p->getSpawnCountdown() < 1050) << "the first wait is a crow's";
    EXPECT_EQ(fly->getSolidness(), vq::SOFT);
    const int countdown = crow->getSpawnCountdown();
    const struct {
        int day, scarecrows, nets, crow, fly;
    } cases[] = {
        {0, 0, 0, 700, 500}, {1, 0, 0, 675, 475}, {27, 0, 0, 25, 10}, {40, 0, 0, 10, 10}, {4, 2, 1, 1300, 650}};
    for (const auto& c : cases) {
        ASSERT_TRUE(buy("Scarecrow", c.scarecrows - UpgradeManager::getInstance().getPurchaseCount("Scarecrow")) &&
                    buy("Bug Net", c.nets - UpgradeManager::getInstance().getPurchaseCount("Bug Net")));
        shop(c.day == 4); // the news reaches the pests in the shop too
        send(EventNewDay(c.day));
        EXPECT_EQ(std::to_string(crow->getDelay()) + " " + std::to_string(fly->getDelay()),
                  std::to_string(c.crow) + " " + std::to_string(c.fly))
            << "day " << c.day;
    }
    EXPECT_EQ(crow->getSpawnCountdown(), countdown) << "the running wait is kept";
}

TEST_F(PestTest, ComesOutForALifetimeWanderingAndHidesAgain) {
    auto* fly = new Fly();
    send(EventNewDay(1));
    steps(fly->getSpawnCountdown() - 1);
    EXPECT_FALSE(fly->getSpawned());
    steps();
    EXPECT_EQ(state(fly), "out health 2 hurt 0 speed 0.3 pest_fly");
    EXPECT_TRUE(showsPicture("pest_fly", fly->getPosition()));
    const vq::Vector heading = fly->getDirection();
    const int turn = fly->getJitterCountdown();
    steps(turn - 1);
    EXPECT_EQ(fly->getDirection(), heading);
    steps();
    EXPECT_NE(fly->getDirection(), heading) << "turns when its jitter runs out";
    EXPECT_TRUE(fly->getJitterCountdown() >= 15 && fly->getJitterCountdown() < 23);
    steps(1799 - turn - 1);
    EXPECT_TRUE(fly->getSpawned());
    steps();
    EXPECT_FALSE(fly->getSpawned()) << "out for 1800 steps";
    EXPECT_TRUE(waitsAsItShould(fly));
}

TEST_F(PestTest, HitsHurtForTwentyStepsAndDriveThePestOff) {
    auto* crow = new Crow();
    bringOut(crow);
    moveMouse(crow->getPosition());
    EXPECT_TRUE(crow->getHovered() && state(crow) == "out health 3 hurt 0 speed 0.2 pest_crow") << state(crow);
    clickOn(crow);
    EXPECT_EQ(state(crow), "out health 2 hurt 20 speed 0.4 pest_crow_damaged");
    steps(19);
    clickOn(crow);
    EXPECT_EQ(state(crow), "out health 2 hurt 1 speed 0.4 pest_crow_damaged") << "no hit while hurt";
    steps();
    EXPECT_EQ(state(crow), "out health 2 hurt 0 speed 0.2 pest_crow");
    clickOn(crow);
    steps(20);
    clickOn(crow);
    EXPECT_TRUE(!crow->getSpawned() && waitsAsItShould(crow)) << "a crow takes three hits";
    EXPECT_EQ(timesPlayed("pest_hurt"), 3);

    auto* fly = new Fly();
    bringOut(fly);
    vq::Box box = vq::getWorldBox(fly); // the picture's box counts, edges included
    clickOn(fly, box.getCorner() + vq::Vector(box.getHorizontal() + 0.01f, 0));
    EXPECT_EQ(fly->getHealth(), 2);
    clickOn(fly, box.getCorner());
    steps(20);
    box = vq::getWorldBox(fly);
    clickOn(fly, box.getCorner() + vq::Vector(box.getHorizontal(), box.getVertical()));
    EXPECT_FALSE(fly->getSpawned()) << "a fly takes two hits";
    ASSERT_TRUE(buy("Bug Spray"));
    bringOut(fly);
    clickOn(fly);
    EXPECT_FALSE(fly->getSpawned()) << "and one with Bug Spray";
}

TEST_F(PestTest, OnlyAPestOutAndUnhurtHarmsThePlotsItCrosses) {
    auto* plot = new Plot();
    plot->setPosition(vq::Vector(40, 1)); // out of the pests' way: only the events below reach it
    auto* fly = new Fly();
    const vq::EventCollision hit(plot, fly, plot->getPosition());
    fly->eventHandler(&hit);
    EXPECT_FALSE(plot->getSkipGrowth()) << "hidden";
    bringOut(fly);
    fly->eventHandler(&hit);
    EXPECT_TRUE(plot->getSkipGrowth());
    clickOn(fly);
    fly->eventHandler(&hit);
    EXPECT_EQ(timesPlayed("pest_plot_hit"), 1) << "not while hurt";
    vq::WorldManager::getInstance().markForDelete(fly);

    auto* crow = new Crow();
    bringOut(crow);
    crow->setPosition(plot->getPosition() - vq::Vector(4, 0));
    crow->setDirection(vq::Vector(1, 0));
    steps(5);
    EXPECT_EQ(timesPlayed("pest_plot_hit"), 6) << "one hit each step over the plot";
}

TEST_F(PestTest, BouncesOffTheEdgesEvenHiddenAndRestsInTheShop) {
    auto* crow = new Crow();
    crow->setPosition(vq::Vector(79.9f, 10));
    crow->setDirection(vq::Vector(1, 0));
    steps();
    EXPECT_NEAR(crow->getPosition().getX(), 79.7f, 1e-4);
    EXPECT_NEAR(crow->getVelocity().getX(), -0.2f, 1e-6);
    shop(true);
    const std::vector<int> counts = {crow->getSpawnCountdown(), crow->getJitterCountdown()};
    steps(500);
    EXPECT_EQ((std::vector<int>{crow->getSpawnCountdown(), crow->getJitterCountdown()}), counts);
}

} // namespace
