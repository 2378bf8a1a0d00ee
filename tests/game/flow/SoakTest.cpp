// Fifty farm days, over as many games as it takes, with a scripted player:
// nothing may pile up in the world from day to day or game to game.
// CORNFIELD_SOAK_DAYS sets another number of days for longer runs by hand.

#include <gtest/gtest.h>

#include <cstdlib>

#include "ScriptedPlayer.h"
#include "flow/RunObjects.h"
#include "hud/TitleScreen.h"

using namespace cftest;

namespace {

int farmDays() {
    const char* p_days = getenv("CORNFIELD_SOAK_DAYS");
    const int days = p_days != nullptr ? atoi(p_days) : 0;
    return days > 0 ? days : 50;
}
const int FARM_DAYS = farmDays();
// Reticle, day keeper and the three status texts.
const int RUN_OBJECTS = 5;
// Two tools, a crow and a fly.
const int FIELD_EXTRAS = 4;
// One step in this many is drawn and shown; the others run the loop's logic
// only, which keeps 90000 steps within a couple of minutes on a virtual screen.
const int DRAW_EVERY = 10;

int step_index = 0;
void soakStep() {
    if (++step_index % DRAW_EVERY == 0)
        steps(1);
    else
        logicStep();
}

class SoakTest : public GameTest {};

TEST_F(SoakTest, FiftyFarmDaysLeaveNothingBehind) {
    srand(4242);
    DayKeeper* p_keeper = createRunObjects();
    steps(1);
    key(vq::Keyboard::SPACE);

    ScriptedPlayer player;
    int games = 1;
    int days_passed = 0;
    int upgrades_bought = 0;
    int most_objects = 0;
    for (int farm_day = 1; farm_day <= FARM_DAYS; farm_day++) {
        steps(1);
        // The start of every farm day looks the same, whatever came before.
        const int plots = countOfType("Plot");
        ASSERT_EQ(plots, 10 + 3 * UpgradeManager::getInstance().getPurchaseCount("Field Work")) << "day " << farm_day;
        ASSERT_EQ(countOfType("PlotModifier"), 2);
        ASSERT_EQ(countOfType("Crow"), 1);
        ASSERT_EQ(countOfType("Fly"), 1);
        ASSERT_EQ(objectCount(), RUN_OBJECTS + plots + FIELD_EXTRAS)
            << "farm day " << farm_day << " (game " << games << ", day " << p_keeper->getDay() << ")";

        // Two days in every eight the player only chases pests, which sooner
        // or later loses a game and starts the next one.
        player.setWorkField(farm_day % 8 > 1);
        while (p_keeper->isDayActive()) {
            player.farmTurn();
            soakStep();
            most_objects = std::max(most_objects, objectCount());
            // At most a handful of rising texts live at once.
            ASSERT_LE(countOfType("FloatingText"), 2 * plots);
        }

        if (p_keeper->isStarted()) {
            days_passed++;
            ASSERT_EQ(countOfType("ShopDisplay"), 3);
            ASSERT_EQ(countOfType("ShopDescription"), 1);
            ASSERT_EQ(countOfType("ShopObject"), 3);
            steps(ShopDisplay::CLICK_DELAY + 1);
            while (player.shopTurn() != nullptr) {
                upgrades_bought++;
                steps(1);
            }
            key(vq::Keyboard::SPACE);
        } else {
            games++;
            ASSERT_EQ(countOfType("TitleScreen"), 1);
            steps(1);
            ASSERT_EQ(objectCount(), RUN_OBJECTS + 1 + countOfType("FloatingText")) << "only the title is new";
            steps(30);
            key(vq::Keyboard::SPACE);
        }
    }
    RecordProperty("games", games);
    RecordProperty("days_passed", days_passed);
    RecordProperty("upgrades_bought", upgrades_bought);
    RecordProperty("most_objects", most_objects);
    EXPECT_GT(days_passed, 0) << "the player met some quotas";
    EXPECT_GE(games, 3) << "and lost some games";
    EXPECT_LE(most_objects, RUN_OBJECTS + 10 + 3 * FARM_DAYS + FIELD_EXTRAS + 3 + 1 + 3 + 1 + 60);
}

} // namespace
