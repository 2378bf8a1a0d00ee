#include <gtest/gtest.h>

#include "FarmFixture.h"
#include "field/CornLevel.h"
#include "field/Plot.h"
#include "hud/FloatingText.h"

using namespace farmtest;

namespace {

class PlotTest : public FarmTest {
protected:
    // Hands the tool over, lets the pick-up step pass, then uses it on the plot.
    static void useTool(Plot* p, PlotModifierType type) {
        announceTool(type);
        step();
        click(p->getPosition());
    }
    static void ripen(Plot* p) {
        for (int i = 0; i < 5000 && p->getStage() != 4; i++)
            step();
        ASSERT_EQ(p->getStage(), 4);
    }
    static int money() { return MoneyManager::getInstance().getMoney(); }
};

TEST_F(PlotTest, PlotsAreLaidOutInRowsOfTenByCreationOrder) {
    std::vector<Plot*> plots;
    for (int i = 0; i < 31; i++)
        plots.push_back(new Plot());
    EXPECT_EQ(plots[0]->getPosition(), vq::Vector(4, 6));
    EXPECT_EQ(plots[9]->getPosition(), vq::Vector(76, 6));
    EXPECT_EQ(plots[10]->getPosition(), vq::Vector(4, 12));
    EXPECT_EQ(plots[30]->getPosition(), vq::Vector(4, 24));
    EXPECT_EQ(plots[30]->getSolidness(), vq::HARD);
    EXPECT_EQ(spriteOf(plots[30]), "plot_empty");

    vq::WorldManager::getInstance().markForDelete(plots[30]);
    vq::WorldManager::getInstance().update();
    EXPECT_EQ(Plot::plot_count, 30);
    EXPECT_EQ((new Plot())->getPosition(), vq::Vector(4, 24));
}

TEST_F(PlotTest, PlantGrowRipenAndHarvest) {
    Plot* p = new Plot();
    click(p->getPosition());
    click(p->getPosition());
    EXPECT_EQ(p->getStage(), 1);
    EXPECT_EQ(p->getCornSprite(), sprite("corn_seeds"));
    EXPECT_EQ(timesPlayed("crop_plant"), 1);

    // A stage needs more points than its target, not as many.
    const int target = p->getGrowthTarget();
    step(target);
    EXPECT_EQ(p->getGrowth(), target);
    EXPECT_EQ(p->getStage(), 1);
    step();
    EXPECT_EQ(p->getStage(), 2);
    EXPECT_EQ(p->getGrowth(), 0);
    EXPECT_EQ(p->getCornSprite(), sprite("corn_sprouts"));

    // Nothing to harvest before it is ripe.
    click(p->getPosition());
    ripen(p);
    EXPECT_EQ(money(), 0);
    EXPECT_EQ(p->getCornSprite(), sprite("corn_yellow"));
    step(p->getGrowthTarget() + 1);
    EXPECT_EQ(p->getStage(), 4);
    EXPECT_EQ(p->getCornSprite(), sprite("corn_yellow"));
    EXPECT_EQ(timesPlayed("crop_done"), 1);

    step(3);
    click(p->getPosition());
    EXPECT_EQ(money(), 10);
    EXPECT_EQ(p->getStage(), 0);
    EXPECT_EQ(p->getGrowth(), 3);
    EXPECT_EQ(p->getCornSprite(), nullptr);
    EXPECT_EQ(timesPlayed("crop_plant"), 1);
    const vq::ObjectList texts = vq::WorldManager::getInstance().objectsOfType("FloatingText");
    ASSERT_EQ(texts.getCount(), 1);
    EXPECT_EQ(dynamic_cast<FloatingText*>(texts[0])->getText(), "+$10");
    EXPECT_EQ(texts[0]->getPosition(), p->getPosition());
}

TEST_F(PlotTest, BestCornUpgradeSetsPictureAndPrice) {
    const char* corn[] = {"Blue Corn", "Purple Corn", "White Corn", "Red Corn"};
    for (int level = 1; level <= 4; level++) {
        ASSERT_TRUE(buy(corn[level - 1]));
        EXPECT_EQ(getCornLevel(), level);
    }
    Plot* p = new Plot();
    click(p->getPosition());
    ripen(p);
    EXPECT_EQ(p->getCornSprite(), sprite("corn_red"));
    click(p->getPosition());
    EXPECT_EQ(money(), 30);
}

TEST_F(PlotTest, GrowthRateFollowsWaterFertilityAndUpgrades) {
    std::vector<Plot*> plots = {new Plot(), new Plot(), new Plot(), new Plot()};
    useTool(plots[1], WATERING_CAN);
    useTool(plots[3], WATERING_CAN);
    useTool(plots[2], FERTILIZER);
    useTool(plots[3], FERTILIZER);
    EXPECT_EQ(spriteOf(plots[3]), "plot_watered_fertile");
    // An empty plot gathers nothing.
    EXPECT_EQ(plots[1]->getGrowth(), 0);
    for (Plot* p : plots)
        click(p->getPosition());

    auto gains = [&] {
        std::vector<int> gain;
        for (Plot* p : plots)
            gain.push_back(-p->getGrowth());
        step();
        for (size_t i = 0; i < plots.size(); i++)
            gain[i] += plots[i]->getGrowth();
        return gain;
    };
    EXPECT_EQ(gains(), (std::vector<int>{1, 3, 3, 5}));
    ASSERT_TRUE(buy("Fresher Water", 2));
    EXPECT_EQ(gains(), (std::vector<int>{1, 9, 3, 11}));
    ASSERT_TRUE(buy("Fertilizer") && buy("Stuffed Bags"));
    EXPECT_EQ(gains(), (std::vector<int>{1, 9, 5, 13}));
}

TEST_F(PlotTest, ToolsAreOnlyUsedUpWhenTheyTakeEffect) {
    Plot* p = new Plot();
    click(p->getPosition());
    useTool(p, WATERING_CAN);
    EXPECT_EQ(p->getWaterTicks(), 60);
    EXPECT_EQ(spriteOf(p), "plot_watered");
    EXPECT_EQ(p->getHeldModifier(), NO_MODIFIER);

    useTool(p, WATERING_CAN);
    EXPECT_EQ(p->getWaterTicks(), 59);
    EXPECT_EQ(p->getHeldModifier(), WATERING_CAN);
    step(59);
    EXPECT_EQ(spriteOf(p), "plot_empty");
    click(p->getPosition());
    EXPECT_EQ(p->getWaterTicks(), 60);
    EXPECT_EQ(timesPlayed("watering_drop"), 2);

    useTool(p, FERTILIZER);
    EXPECT_EQ(spriteOf(p), "plot_watered_fertile");
    useTool(p, FERTILIZER);
    EXPECT_EQ(p->getHeldModifier(), FERTILIZER);
    EXPECT_EQ(timesPlayed("fertilizer_drop"), 1);
    step(p->getWaterTicks());
    EXPECT_EQ(spriteOf(p), "plot_fertile");

    // Harvest ends fertility; remaining water shows.
    announceTool(NO_MODIFIER);
    ripen(p);
    useTool(p, WATERING_CAN);
    click(p->getPosition());
    EXPECT_EQ(p->getStage(), 0);
    EXPECT_FALSE(p->getFertile());
    EXPECT_EQ(spriteOf(p), "plot_watered");
}

TEST_F(PlotTest, InstantScytheAndSeedDrill) {
    ASSERT_TRUE(buy("Instant Scythe"));
    Plot* p = new Plot();
    click(p->getPosition());
    ripen(p);
    step(45);
    EXPECT_EQ(p->getStage(), 4);
    step();
    EXPECT_EQ(p->getStage(), 0);
    EXPECT_EQ(money(), 10);

    ASSERT_TRUE(buy("Seed Drill"));
    EXPECT_EQ((new Plot())->getStage(), 0);
    p->reset();
    EXPECT_EQ(p->getStage(), 1);
    ripen(p);
    step(46);
    EXPECT_EQ(money(), 20);
    EXPECT_EQ(p->getStage(), 1);
    EXPECT_EQ(timesPlayed("crop_plant"), 3);
}

TEST_F(PlotTest, ResetStartsTheDayEmptyDryAndEmptyHanded) {
    Plot* p = new Plot();
    click(p->getPosition());
    useTool(p, FERTILIZER);
    useTool(p, WATERING_CAN);
    step(300);
    announceTool(FERTILIZER);

    p->reset();
    EXPECT_EQ(p->getStage(), 0);
    EXPECT_EQ(p->getGrowth(), 0);
    EXPECT_EQ(p->getWaterTicks(), 0);
    EXPECT_FALSE(p->getFertile());
    EXPECT_EQ(p->getCornSprite(), nullptr);
    EXPECT_EQ(spriteOf(p), "plot_empty");
    EXPECT_EQ(p->getHeldModifier(), NO_MODIFIER);
}

TEST_F(PlotTest, PestDamage) {
    Plot* p = new Plot();
    click(p->getPosition());
    ripen(p);
    srand(2);
    int expected = 4;
    for (int i = 0; i < 100; i++)
        if (rand() % 40 == 0)
            expected--;
    ASSERT_GT(expected, 0);
    srand(2);
    for (int i = 0; i < 100; i++)
        p->crowDamage();
    EXPECT_EQ(p->getStage(), expected);
    // An empty plot stays empty.
    for (int i = 0; i < 200; i++)
        p->crowDamage();
    EXPECT_EQ(p->getStage(), 0);
    EXPECT_EQ(p->getGrowth(), 0);

    click(p->getPosition());
    const int growth = p->getGrowth();
    p->flyDamage();
    p->flyDamage();
    step();
    EXPECT_EQ(p->getGrowth(), growth);
    step();
    EXPECT_EQ(p->getGrowth(), growth + 1);
}

TEST_F(PlotTest, InactivePlotOnlyHearsTheSwitchBack) {
    Plot* p = new Plot();
    click(p->getPosition());
    setFarm(false);
    step(5);
    click(p->getPosition());
    announceTool(WATERING_CAN);
    EXPECT_EQ(p->getGrowth(), 0);
    EXPECT_EQ(p->getHeldModifier(), NO_MODIFIER);
    setFarm(true);
    step();
    EXPECT_EQ(p->getGrowth(), 1);
}

} // namespace
