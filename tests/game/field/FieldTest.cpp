// Plots and crops, the pick-up tools and the cursor, driven with a player's events.

#include <gtest/gtest.h>

#include "GameHarness.h"
#include "common/EventModifierChange.h"
#include "common/EventNewDay.h"
#include "common/EventStateChange.h"
#include "field/Plot.h"
#include "field/PlotModifier.h"
#include "field/Reticle.h"

using namespace vqtest;

namespace {

void holdTool(PlotModifierType type) {
    EventModifierChange e;
    e.setModifierType(type);
    send(e);
}
// Hands the tool over, lets the pick-up step pass, then uses it on the plot.
void useTool(Plot* p, PlotModifierType type) {
    holdTool(type);
    steps();
    click(p->getPosition());
}
void ripen(Plot* p) {
    for (int i = 0; i < 5000 && p->getStage() != 4; i++)
        steps();
}
// A plot in one line: stage, growth, water left, fertility, the tool in hand, soil + crop.
std::string state(const Plot* p) {
    const char* held[] = {"can", "bag", "nothing"};
    return "stage " + std::to_string(p->getStage()) + " growth " + std::to_string(p->getGrowth()) + " water " +
           std::to_string(p->getWaterTicks()) + (p->getFertile() ? " fertile" : "") + " holds " +
           held[p->getHeldModifier()] + " " + spriteLabel(p) +
           (p->getCornSprite() != nullptr ? "+" + p->getCornSprite()->getLabel() : "");
}

using FieldTest = GameTest;

TEST_F(FieldTest, PlotsStandInRowsOfTenInCreationOrder) {
    std::vector<Plot*> plots;
    for (int i = 0; i < 31; i++)
        plots.push_back(new Plot());
    for (const auto& at : {std::pair<int, vq::Vector>{0, {4, 6}}, {9, {76, 6}}, {10, {4, 12}}, {30, {4, 24}}})
        EXPECT_EQ(plots[at.first]->getPosition(), at.second) << at.first;
    vq::WorldManager::getInstance().markForDelete(plots[30]);
    steps();
    EXPECT_EQ((new Plot())->getPosition(), vq::Vector(4, 24)) << "a deleted plot's place is taken again";
}

TEST_F(FieldTest, ACropGrowsThroughItsStagesAndSellsForItsCornsValue) {
    Plot* p = new Plot();
    click(p->getPosition());
    click(p->getPosition());
    const int target = p->getGrowthTarget();
    EXPECT_TRUE(target >= 200 && target < 300) << target;
    steps(target); // a stage needs more growth than its target, not as much
    EXPECT_EQ(state(p), "stage 1 growth " + std::to_string(target) + " water 0 holds nothing plot_empty+corn_seeds");
    EXPECT_TRUE(showsPicture("corn_seeds", p->getPosition()));
    steps();
    EXPECT_EQ(state(p), "stage 2 growth 0 water 0 holds nothing plot_empty+corn_sprouts");
    steps(p->getGrowthTarget() + 1);
    EXPECT_EQ(p->getCornSprite()->getLabel(), "corn_growing");
    click(p->getPosition()); // nothing to harvest yet
    ripen(p);
    steps(p->getGrowthTarget() + 4);
    EXPECT_EQ(state(p), "stage 4 growth 3 water 0 holds nothing plot_empty+corn_yellow") << "ripe stays ripe";
    EXPECT_EQ(playedSounds(), (std::vector<std::string>{"crop_plant", "crop_done"}));
    // Each corn upgrade changes the ripe picture and the price, shown rising from the plot.
    const char* corn[][2] = {{"", "corn_yellow"},
                             {"Blue Corn", "corn_blue"},
                             {"Purple Corn", "corn_purple"},
                             {"White Corn", "corn_white"},
                             {"Red Corn", "corn_red"}};
    click(p->getPosition());
    for (int level = 0; level <= 4; level++) {
        ASSERT_TRUE(level == 0 || buy(corn[level][0]));
        MoneyManager::getInstance().reset();
        click(p->getPosition());
        ripen(p);
        EXPECT_EQ(p->getCornSprite()->getLabel(), corn[level][1]);
        click(p->getPosition());
        steps();
        const std::string value = "$" + std::to_string(10 + 5 * level);
        EXPECT_EQ("$" + std::to_string(money()) + " " + cells(6, 2, static_cast<int>(value.size()) + 1),
                  value + " +" + value);
    }
    EXPECT_EQ(state(p), "stage 0 growth 0 water 0 holds nothing plot_empty");
    EXPECT_EQ(timesPlayed("crop_harvest"), 6);
}

TEST_F(FieldTest, GrowthRateFollowsWaterFertilityAndUpgrades) {
    std::vector<Plot*> plots = {new Plot(), new Plot(), new Plot(), new Plot()};
    useTool(plots[1], WATERING_CAN);
    useTool(plots[3], WATERING_CAN);
    useTool(plots[2], FERTILIZER);
    useTool(plots[3], FERTILIZER);
    EXPECT_EQ(plots[1]->getGrowth(), 0) << "an empty plot gathers nothing";
    for (Plot* p : plots)
        click(p->getPosition());
    auto gains = [&] {
        std::vector<int> gain;
        for (Plot* p : plots)
            gain.push_back(-p->getGrowth());
        steps();
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

TEST_F(FieldTest, ToolsAreUsedUpOnlyWhenTheyTakeEffect) {
    Plot* p = new Plot();
    useTool(p, WATERING_CAN);
    steps();
    EXPECT_TRUE(showsPicture("plot_watered", p->getPosition()));
    useTool(p, WATERING_CAN); // still wet: the can stays in hand
    steps(57);
    EXPECT_EQ(state(p), "stage 0 growth 0 water 1 holds can plot_watered");
    steps();
    EXPECT_EQ(state(p), "stage 0 growth 0 water 0 holds can plot_empty") << "water lasts 60 steps";
    click(p->getPosition());
    useTool(p, FERTILIZER);
    useTool(p, FERTILIZER);
    EXPECT_EQ(state(p), "stage 0 growth 0 water 58 fertile holds bag plot_watered_fertile");
    EXPECT_EQ(timesPlayed("watering_drop") * 10 + timesPlayed("fertilizer_drop"), 21);
    steps(58);
    EXPECT_EQ(spriteLabel(p), "plot_fertile");
    holdTool(NO_MODIFIER);
    click(p->getPosition());
    ripen(p);
    useTool(p, WATERING_CAN);
    click(p->getPosition());
    EXPECT_EQ(state(p), "stage 0 growth 3 water 60 holds nothing plot_watered") << "a harvest ends fertility";
    useTool(p, FERTILIZER);
    holdTool(WATERING_CAN);
    p->reset();
    EXPECT_EQ(state(p), "stage 0 growth 0 water 0 holds nothing plot_empty");
}

TEST_F(FieldTest, InstantScytheHarvestsAndSeedDrillPlants) {
    ASSERT_TRUE(buy("Instant Scythe"));
    Plot* p = new Plot();
    click(p->getPosition());
    ripen(p);
    steps(45);
    EXPECT_EQ(p->getStage(), 4);
    steps();
    EXPECT_EQ(std::to_string(p->getStage()) + " $" + std::to_string(money()), "0 $10")
        << "harvested once ripe growth passes 45";
    ASSERT_TRUE(buy("Seed Drill"));
    EXPECT_EQ((new Plot())->getStage(), 0) << "a new plot is not planted";
    p->reset();
    ripen(p);
    steps(46);
    EXPECT_EQ(p->getCornSprite()->getLabel() + " $" + std::to_string(money()), "corn_seeds $20") << "replanted";
}

TEST_F(FieldTest, CrowsSetCropsBackOneTimeInFortyFliesStopOneStepAndTheShopStopsAll) {
    Plot* p = new Plot();
    int hits = 0;
    for (int crop = 0; crop < 200; crop++) {
        click(p->getPosition());
        for (; p->getStage() > 0; hits++)
            p->crowDamage();
    }
    EXPECT_EQ(p->getStage(), 0);
    EXPECT_NEAR(hits / 200.0, 40, 6);
    click(p->getPosition());
    const int growth = p->getGrowth();
    p->flyDamage();
    p->flyDamage();
    steps(2);
    EXPECT_EQ(p->getGrowth(), growth + 1);
    EventStateChange shop; // an inactive plot hears only the switch back
    send(shop);
    steps(5);
    click(p->getPosition());
    holdTool(WATERING_CAN);
    EXPECT_EQ(state(p),
              "stage 1 growth " + std::to_string(growth + 1) + " water 0 holds nothing plot_empty+corn_seeds");
    EXPECT_EQ(cells(6, 1, 7), "       ") << "nor is it drawn";
}

TEST_F(FieldTest, ToolsShowUpAtRandomPlacesAfterWaitsThatUpgradesShorten) {
    auto* can = new PlotModifier(WATERING_CAN);
    auto* bag = new PlotModifier(FERTILIZER);
    const vq::Vector first = can->getPosition();
    const int wait = can->getRespawnTimer(), bag_wait = bag->getRespawnTimer();
    EXPECT_TRUE(wait >= 150 && wait < 200 && bag_wait >= 200 && bag_wait < 275) << wait << " " << bag_wait;
    click(first);
    steps(wait - 1);
    EXPECT_FALSE(can->getAvailable() || can->getHolding()) << "a click before it shows picks nothing up";
    steps();
    for (const vq::Vector at : {first, can->getPosition()})
        EXPECT_TRUE(at.getX() >= 4 && at.getX() < 76 && at.getY() >= 8 && at.getY() < 20) << at.getX() << at.getY();
    EXPECT_NE(can->getPosition(), first);
    EXPECT_TRUE(can->getAvailable() && showsPicture("watering_can", can->getPosition()));
    steps(100);
    EXPECT_EQ(bag->getRespawnTimer(), bag_wait) << "no fertilizer without its upgrade";
    const struct {
        PlotModifier* tool;
        const char* upgrade;
        int purchases, low, high;
    } cases[] = {{can, "When It Rains", 0, 150, 199}, {can, "When It Rains", 1, 75, 99},
                 {can, "When It Rains", 2, 50, 66},   {bag, "Fast Supplier", 1, 100, 137},
                 {can, "When It Rains", 200, 1, 1},   {bag, "Fast Supplier", 300, 1, 1}};
    for (const auto& c : cases) {
        UpgradeManager::getInstance().reset();
        ASSERT_TRUE(buy("Fertilizer") && buy(c.upgrade, c.purchases));
        steps(c.tool->getRespawnTimer());
        click(c.tool->getPosition());
        const int after = c.tool->getRespawnTimer();
        EXPECT_TRUE(after >= c.low && after <= c.high) << c.upgrade << " x" << c.purchases << ": " << after;
        holdTool(NO_MODIFIER);
    }
}

TEST_F(FieldTest, APickedUpToolIsHeldOnceAnnouncedAndShownByTheCursor) {
    ASSERT_TRUE(buy("Fertilizer"));
    auto* can = new PlotModifier(WATERING_CAN);
    auto* bag = new PlotModifier(FERTILIZER);
    auto* reticle = new Reticle();
    steps(300);
    auto* plot = new Plot(); // after the can: it hears the pick-up click second
    can->setPosition(plot->getPosition());
    bag->setPosition(vq::Vector(60, 15));
    click(plot->getPosition());
    EXPECT_EQ(state(plot), "stage 0 growth 0 water 0 holds can plot_empty") << "the pick-up click does not pour";
    EXPECT_EQ(playedSounds(), std::vector<std::string>{"watering_pickup"});
    moveMouse(vq::Vector(12.5f, 7.25f));
    click(bag->getPosition());
    EXPECT_TRUE(bag->getAvailable()) << "one tool at a time";
    steps();
    const vq::DrawnCharacter cursor = vq::DisplayManager::getInstance().getLastFrame().back(); // drawn last
    EXPECT_TRUE(cursor.ch == '+' && cursor.color == vq::CYAN && cursor.position == vq::Vector(12.5f, 7.25f))
        << "clicks do not move it";
    click(plot->getPosition());
    click(bag->getPosition());
    EXPECT_EQ(reticle->getColor(), vq::RED);
    EventStateChange shop; // a new day empties the hands, even in the shop
    send(shop);
    send(EventNewDay(2));
    EXPECT_FALSE(can->getHolding());
    EXPECT_EQ(reticle->getColor(), vq::WHITE);
    const int timer = can->getRespawnTimer();
    steps(20);
    EXPECT_EQ(can->getRespawnTimer(), timer) << "no tool shows up in the shop";
}

} // namespace
