#include <gtest/gtest.h>

#include <cmath>

#include "../field/FarmFixture.h"
#include "core/Geometry.h"
#include "field/Plot.h"
#include "pests/Crow.h"
#include "pests/Fly.h"
#include "world/EventCollision.h"

using namespace farmtest;

namespace {

class PestTest : public FarmTest {
protected:
    static void bringOut(Pest* p) {
        for (int i = 0; i < 3000 && !p->getSpawned(); i++)
            step();
        ASSERT_TRUE(p->getSpawned());
    }
    // Delivered to the pest alone, so no other object draws random numbers.
    static void clickOn(Pest* p, vq::Vector where) {
        vq::EventMouse e;
        e.setMouseAction(vq::CLICKED);
        e.setMousePosition(where);
        p->eventHandler(&e);
    }
    static void clickOn(Pest* p) { clickOn(p, p->getPosition()); }
    static int collide(Pest* p, vq::Object* other) {
        const vq::EventCollision c(p, other, p->getPosition());
        return p->eventHandler(&c);
    }
    static int waitFor(int base, int r) { return static_cast<int>(base + (r % base) / 2.0); }
};

TEST_F(PestTest, KindsShareTheFirstWaitAndSetTheirNumbers) {
    srand(4);
    const int crow_wait = waitFor(700, rand());
    const int fly_wait = waitFor(700, rand());
    srand(4);
    auto* crow = new Crow();
    auto* fly = new Fly();
    EXPECT_EQ(crow->getSpawnCountdown(), crow_wait);
    EXPECT_EQ(fly->getSpawnCountdown(), fly_wait);
    EXPECT_EQ(crow->getDelay(), 700);
    EXPECT_EQ(fly->getDelay(), 500);
    EXPECT_FLOAT_EQ(fly->getSpeed(), 0.3f);
    EXPECT_EQ(fly->getJitter(), 15);
    EXPECT_EQ(fly->getSolidness(), vq::SOFT);
    EXPECT_EQ(spriteOf(crow), "pest_crow");
}

TEST_F(PestTest, DelaysFallByDayAndRiseWithPurchases) {
    auto* crow = new Crow();
    auto* fly = new Fly();
    const int countdown = crow->getSpawnCountdown();
    newDay(1);
    EXPECT_EQ(crow->getDelay(), 675);
    EXPECT_EQ(fly->getDelay(), 475);
    EXPECT_EQ(crow->getSpawnCountdown(), countdown);
    newDay(27);
    EXPECT_EQ(crow->getDelay(), 25);
    newDay(40);
    EXPECT_EQ(crow->getDelay(), MIN_PEST_DELAY);
    EXPECT_EQ(fly->getDelay(), MIN_PEST_DELAY);

    ASSERT_TRUE(buy("Scarecrow", 2) && buy("Bug Net"));
    setFarm(false);
    newDay(4);
    EXPECT_EQ(crow->getDelay(), 1300);
    EXPECT_EQ(fly->getDelay(), 650);
}

TEST_F(PestTest, ComesOutForALifetimeThenHidesAgain) {
    auto* fly = new Fly();
    newDay(1);
    step(fly->getSpawnCountdown() - 1);
    EXPECT_FALSE(fly->getSpawned());
    step();
    EXPECT_TRUE(fly->getSpawned());
    EXPECT_EQ(fly->getHealth(), 2);
    EXPECT_EQ(fly->getLifetime(), 1799);
    step(1798);
    EXPECT_TRUE(fly->getSpawned());
    step();
    EXPECT_FALSE(fly->getSpawned());
    EXPECT_GE(fly->getSpawnCountdown(), 475);
    EXPECT_LE(fly->getSpawnCountdown(), 712);
}

TEST_F(PestTest, TurnsAtRandomWhenTheJitterRunsOut) {
    auto* crow = new Crow();
    crow->setPosition(vq::Vector(40, 12));
    step(199);
    EXPECT_EQ(crow->getPosition(), vq::Vector(40, 12));
    srand(5);
    const int jitter = waitFor(200, rand());
    const double a = rand() % 360;
    srand(5);
    step();
    EXPECT_EQ(crow->getJitterCountdown(), jitter);
    EXPECT_FLOAT_EQ(crow->getDirection().getX(), static_cast<float>(std::sin(a)));
    EXPECT_FLOAT_EQ(crow->getDirection().getY(), static_cast<float>(std::cos(a)));
}

TEST_F(PestTest, HitsAndTheHurtState) {
    auto* crow = new Crow();
    newDay(1);
    bringOut(crow);
    hover(crow->getPosition());
    EXPECT_TRUE(crow->getHovered());
    EXPECT_EQ(crow->getHealth(), 3);

    clickOn(crow);
    EXPECT_EQ(crow->getHealth(), 2);
    EXPECT_FLOAT_EQ(crow->getSpeed(), 0.4f);
    EXPECT_EQ(spriteOf(crow), "pest_crow_damaged");
    step(19);
    clickOn(crow);
    EXPECT_EQ(crow->getHealth(), 2);
    step();
    EXPECT_FLOAT_EQ(crow->getSpeed(), 0.2f);
    EXPECT_EQ(spriteOf(crow), "pest_crow");

    clickOn(crow);
    step(20);
    srand(17);
    const int wait = waitFor(675, rand());
    srand(17);
    clickOn(crow);
    EXPECT_FALSE(crow->getSpawned());
    EXPECT_EQ(crow->getSpawnCountdown(), wait);
    EXPECT_EQ(timesPlayed("pest_hurt"), 3);
}

TEST_F(PestTest, FliesNeedTwoHitsOrOneWithBugSpray) {
    auto* fly = new Fly();
    bringOut(fly);
    // Only the sprite's box counts, edges included.
    const vq::Box box = vq::getWorldBox(fly);
    clickOn(fly, box.getCorner() + vq::Vector(box.getHorizontal() + 0.01f, 0));
    EXPECT_EQ(fly->getHealth(), 2);
    clickOn(fly, box.getCorner());
    EXPECT_EQ(fly->getHealth(), 1);
    step(20);
    clickOn(fly);
    EXPECT_FALSE(fly->getSpawned());

    ASSERT_TRUE(buy("Bug Spray"));
    bringOut(fly);
    clickOn(fly);
    EXPECT_FALSE(fly->getSpawned());
}

TEST_F(PestTest, OnlyAnOutUnhurtPestHarmsPlots) {
    // Out of the fly's reach, so only the events below touch it.
    auto* plot = new Plot();
    plot->setPosition(vq::Vector(40, 1));
    auto* fly = new Fly();
    auto* other = new vq::Object();

    collide(fly, plot);
    EXPECT_FALSE(plot->getSkipGrowth());
    bringOut(fly);
    EXPECT_EQ(collide(fly, other), 1);
    EXPECT_EQ(timesPlayed("pest_plot_hit"), 0);
    const vq::EventCollision reversed(plot, fly, plot->getPosition());
    fly->eventHandler(&reversed);
    EXPECT_TRUE(plot->getSkipGrowth());
    EXPECT_EQ(timesPlayed("pest_plot_hit"), 1);

    clickOn(fly);
    collide(fly, plot);
    EXPECT_EQ(timesPlayed("pest_plot_hit"), 1);
}

TEST_F(PestTest, CrowsHarmPlotsTheyCross) {
    auto* plot = new Plot();
    auto* crow = new Crow();
    bringOut(crow);
    crow->setPosition(plot->getPosition() - vq::Vector(4, 0));
    crow->setDirection(vq::Vector(1, 0));
    step(5);
    EXPECT_EQ(timesPlayed("pest_plot_hit"), 5);
}

TEST_F(PestTest, BouncesOffTheEdgesEvenWhenHidden) {
    auto* crow = new Crow();
    crow->setPosition(vq::Vector(79.9f, 10));
    crow->setDirection(vq::Vector(1, 0));
    step();
    EXPECT_NEAR(crow->getPosition().getX(), 79.7f, 1e-4);
    EXPECT_NEAR(crow->getVelocity().getX(), -0.2f, 1e-6);
}

TEST_F(PestTest, InTheShopNothingCountsDown) {
    auto* crow = new Crow();
    step(10);
    setFarm(false);
    const int spawn = crow->getSpawnCountdown();
    const int jitter = crow->getJitterCountdown();
    step(500);
    EXPECT_EQ(crow->getSpawnCountdown(), spawn);
    EXPECT_EQ(crow->getJitterCountdown(), jitter);
}

} // namespace
