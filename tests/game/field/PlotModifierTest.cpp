#include <gtest/gtest.h>

#include "FarmFixture.h"
#include "field/Plot.h"
#include "field/PlotModifier.h"
#include "field/Reticle.h"

using namespace farmtest;

namespace {

class PlotModifierTest : public FarmTest {
protected:
    static void waitForIt(PlotModifier* p_tool) {
        for (int i = 0; i < 2000 && !p_tool->getAvailable(); i++)
            step();
        ASSERT_TRUE(p_tool->getAvailable());
    }
};

TEST_F(PlotModifierTest, ShowsUpAfterItsFirstWaitAtRandomPlaces) {
    srand(11);
    const int wait = rand() % 50 + 150;
    int place[4];
    for (int& value : place)
        value = rand();
    const vq::Vector first(place[0] % 72 + 4, place[1] % 12 + 8);
    const vq::Vector second(place[2] % 72 + 4, place[3] % 12 + 8);
    srand(11);
    auto* can = new PlotModifier(WATERING_CAN);
    EXPECT_EQ(spriteOf(can), "watering_can");
    EXPECT_EQ(can->getPosition(), first);

    // Not there yet: clicks at its place do nothing.
    click(can->getPosition());
    step(wait - 1);
    EXPECT_FALSE(can->getAvailable());
    EXPECT_FALSE(can->getHolding());
    step();
    EXPECT_TRUE(can->getAvailable());
    EXPECT_EQ(can->getPosition(), second);
}

TEST_F(PlotModifierTest, FertilizerWaitsForItsUpgrade) {
    auto* bag = new PlotModifier(FERTILIZER);
    const int wait = bag->getRespawnTimer();
    EXPECT_GE(wait, 200);
    EXPECT_LE(wait, 274);
    step(600);
    EXPECT_EQ(bag->getRespawnTimer(), wait);

    ASSERT_TRUE(buy("Fertilizer"));
    step(wait - 1);
    EXPECT_FALSE(bag->getAvailable());
    step();
    EXPECT_TRUE(bag->getAvailable());
}

TEST_F(PlotModifierTest, PickUpWaitShrinksWithUpgrades) {
    struct Case {
        PlotModifierType type;
        const char* upgrade;
        int purchases;
        int low, high;
    };
    const Case cases[] = {{WATERING_CAN, "When It Rains", 0, 150, 199}, {WATERING_CAN, "When It Rains", 1, 75, 99},
                          {WATERING_CAN, "When It Rains", 2, 50, 66},   {FERTILIZER, "Fast Supplier", 1, 100, 137},
                          {WATERING_CAN, "When It Rains", 200, 1, 1},   {FERTILIZER, "Fast Supplier", 300, 1, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.upgrade + std::to_string(c.purchases));
        UpgradeManager::getInstance().reset();
        ASSERT_TRUE(buy("Fertilizer") && buy(c.upgrade, c.purchases));
        auto* tool = new PlotModifier(c.type);
        waitForIt(tool);

        srand(5);
        const int drawn = c.type == WATERING_CAN ? rand() % 50 + 150 : rand() % 75 + 200;
        const int wait = std::max(1, drawn / (c.purchases + 1));
        srand(5);
        click(tool->getPosition());
        EXPECT_EQ(tool->getRespawnTimer(), wait);
        EXPECT_GE(wait, c.low);
        EXPECT_LE(wait, c.high);
        // Even a wait that divides down to nothing ends.
        step(wait);
        EXPECT_TRUE(tool->getAvailable());
        announceTool(NO_MODIFIER);
        vq::WorldManager::getInstance().markForDelete(tool);
    }
}

TEST_F(PlotModifierTest, PickUpIsAnnouncedAndBlocksTheOtherTool) {
    ASSERT_TRUE(buy("Fertilizer"));
    auto* plot = new Plot();
    auto* reticle = new Reticle();
    auto* can = new PlotModifier(WATERING_CAN);
    auto* bag = new PlotModifier(FERTILIZER);
    waitForIt(can);
    waitForIt(bag);
    can->setPosition(vq::Vector(30, 15));
    bag->setPosition(vq::Vector(60, 15));

    click(can->getPosition());
    EXPECT_FALSE(can->getAvailable());
    EXPECT_TRUE(bag->getHolding());
    EXPECT_EQ(plot->getHeldModifier(), WATERING_CAN);
    EXPECT_EQ(reticle->getColor(), vq::CYAN);
    EXPECT_EQ(timesPlayed("watering_pickup"), 1);

    click(bag->getPosition());
    EXPECT_TRUE(bag->getAvailable());

    step();
    click(plot->getPosition());
    EXPECT_EQ(plot->getWaterTicks(), 60);
    EXPECT_EQ(reticle->getColor(), vq::WHITE);
    click(bag->getPosition());
    EXPECT_FALSE(bag->getAvailable());
    EXPECT_EQ(reticle->getColor(), vq::RED);
}

TEST_F(PlotModifierTest, TheClickThatPicksUpDoesNotUseTheTool) {
    auto* can = new PlotModifier(WATERING_CAN);
    waitForIt(can);
    // Created later, so it hears the click after the can.
    auto* plot = new Plot();
    can->setPosition(plot->getPosition());

    click(plot->getPosition());
    EXPECT_FALSE(can->getAvailable());
    EXPECT_EQ(plot->getWaterTicks(), 0);
    step();
    click(plot->getPosition());
    EXPECT_EQ(plot->getWaterTicks(), 60);
}

TEST_F(PlotModifierTest, ANewDayEmptiesTheHandsEvenInTheShop) {
    auto* can = new PlotModifier(WATERING_CAN);
    auto* bag = new PlotModifier(FERTILIZER);
    waitForIt(can);
    click(can->getPosition());
    ASSERT_TRUE(bag->getHolding());

    setFarm(false);
    newDay(2);
    EXPECT_FALSE(can->getHolding());
    EXPECT_FALSE(bag->getHolding());
    const int timer = can->getRespawnTimer();
    step(20);
    EXPECT_EQ(can->getRespawnTimer(), timer);

    setFarm(true);
    waitForIt(can);
    click(can->getPosition());
    EXPECT_EQ(timesPlayed("watering_pickup"), 2);
}

TEST_F(PlotModifierTest, ReticleFollowsMovesAndShowsTheHeldTool) {
    auto* reticle = new Reticle();
    EXPECT_EQ(reticle->getAltitude(), 4);
    EXPECT_EQ(reticle->getSolidness(), vq::GHOST);
    hover(vq::Vector(12.5f, 7.25f));
    click(vq::Vector(30, 3));
    EXPECT_EQ(reticle->getPosition(), vq::Vector(12.5f, 7.25f));

    announceTool(FERTILIZER);
    EXPECT_EQ(reticle->getHeldModifier(), FERTILIZER);
    newDay(3);
    EXPECT_EQ(reticle->getColor(), vq::WHITE);
}

} // namespace
