// Fifty farm days, over as many games as it takes, with a scripted player:
// nothing may pile up in the world from day to day or game to game.
// CORNFIELD_SOAK_DAYS sets another number of days for longer runs by hand.

#include <gtest/gtest.h>

#include <cstdlib>

#include "ScriptedPlayer.h"
#include "flow/DayKeeper.h"
#include "flow/RunObjects.h"

using namespace vqtest;

namespace {

using SoakTest = GameTest;

TEST_F(SoakTest, FiftyFarmDaysLeaveNothingBehind) {
    const int farm_days = getenv("CORNFIELD_SOAK_DAYS") != nullptr ? atoi(getenv("CORNFIELD_SOAK_DAYS")) : 50;
    const int run_objects = 5;  // reticle, day keeper and the three status texts
    const int field_extras = 4; // two tools, a crow and a fly
    srand(4242);
    UpgradeManager::getInstance().setShopSeed(4242);
    DayKeeper* p_keeper = createRunObjects();
    steps();
    key(vq::Keyboard::SPACE);
    ScriptedPlayer player;
    int games = 1, days_passed = 0, most_objects = 0;
    for (int farm_day = 1; farm_day <= farm_days; farm_day++) {
        steps();
        // The start of every farm day looks the same, whatever came before.
        const int plots = countOf("Plot");
        ASSERT_EQ(plots, 10 + 3 * UpgradeManager::getInstance().getPurchaseCount("Field Work")) << "day " << farm_day;
        ASSERT_EQ(countOf("PlotModifier") + countOf("Crow") + countOf("Fly"), field_extras);
        ASSERT_EQ(objectCount(), run_objects + plots + field_extras) << "farm day " << farm_day << ", game " << games;
        // Two days in every eight the player only chases pests, which sooner
        // or later loses a game and starts the next one.
        player.work_field = farm_day % 8 > 1;
        while (p_keeper->isDayActive()) {
            player.farmTurn();
            steps();
            most_objects = std::max(most_objects, objectCount());
            ASSERT_LE(countOf("FloatingText"), 2 * plots) << "a handful of rising texts at most";
        }
        if (p_keeper->isStarted()) {
            days_passed++;
            ASSERT_EQ(countOf("ShopDisplay") + countOf("ShopDescription") + countOf("ShopObject"), 7);
            steps(ShopDisplay::CLICK_DELAY + 1);
            while (player.shopTurn() != nullptr)
                steps();
        } else {
            games++;
            steps();
            ASSERT_EQ(countOf("TitleScreen"), 1);
            ASSERT_EQ(objectCount(), run_objects + 1 + countOf("FloatingText")) << "only the title is new";
            steps(30);
        }
        key(vq::Keyboard::SPACE);
    }
    EXPECT_GT(days_passed, 0) << "the player met some quotas";
    EXPECT_GE(games, 3) << "and lost some games";
    EXPECT_LE(most_objects, run_objects + 10 + 3 * farm_days + field_extras + 8 + 60);
}

} // namespace
