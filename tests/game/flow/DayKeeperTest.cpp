// The day cycle: starting a game, timing the day, the shop, losing, Q.

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>

#include "../hud/GameHarness.h"
#include "field/FarmObject.h"
#include "field/Plot.h"
#include "field/PlotModifier.h"
#include "flow/DayKeeper.h"
#include "flow/RunObjects.h"
#include "hud/DayText.h"
#include "hud/TitleScreen.h"
#include "shop/ShopDescription.h"
#include "shop/ShopDisplay.h"

using cftest::countOfType;
using cftest::key;
using cftest::steps;
using cftest::timesPlayed;
using vqtest::spriteLabel;

namespace {

bool at(const vq::Object* p_o, float x, float y) {
    return p_o->getPosition() == vq::Vector(x, y);
}

class DayKeeperTest : public cftest::GameTest {
protected:
    void SetUp() override {
        cftest::GameTest::SetUp();
        p_keeper = new DayKeeper;
    }

    // Runs the farm day to its last step with the given money in hand.
    void finishDay(int money) {
        ASSERT_TRUE(p_keeper->isDayActive());
        steps(p_keeper->getTicksLeft() - 1);
        MoneyManager& m = MoneyManager::getInstance();
        m.subtractMoney(m.getMoney());
        m.addMoney(money);
        steps(1);
        ASSERT_FALSE(p_keeper->isDayActive());
    }

    bool farmActive() {
        for (const char* type : {"Plot", "PlotModifier", "Crow", "Fly"})
            for (FarmObject* p : cftest::allOfType<FarmObject>(type))
                if (!p->getActive())
                    return false;
        return true;
    }

    DayKeeper* p_keeper = nullptr;
};

TEST_F(DayKeeperTest, QuotaGrowsWithTheDay) {
    const int expected[][2] = {{1, 50}, {2, 80}, {3, 120}, {4, 170}, {5, 230}, {6, 300}, {7, 380}, {10, 680}};
    for (const auto& pair : expected)
        EXPECT_EQ(DayKeeper::quotaForDay(pair[0]), pair[1]) << "day " << pair[0];

    auto* p_day = new DayText;
    p_keeper->incrementDay();
    p_keeper->incrementDay();
    EXPECT_EQ(p_keeper->getDay(), 2);
    EXPECT_EQ(MoneyManager::getInstance().getQuota(), 80);
    EXPECT_EQ(p_day->getText(), "Day 2") << "the new day is announced";
}

TEST_F(DayKeeperTest, SpaceAtTheTitleLaysOutOneField) {
    EXPECT_EQ(p_keeper->getType(), "DayKeeper");
    EXPECT_EQ(p_keeper->getSolidness(), vq::GHOST);
    key(vq::Keyboard::SPACE, vq::KEY_RELEASED);
    key(vq::Keyboard::ENTER);
    steps(3);
    EXPECT_EQ(countOfType("Plot"), 0) << "releases and other keys do not start a game";
    EXPECT_FALSE(p_keeper->isStarted());
    EXPECT_EQ(p_keeper->getTicksLeft(), 0);

    key(vq::Keyboard::SPACE);
    EXPECT_EQ(p_keeper->getDay(), 1);
    EXPECT_EQ(MoneyManager::getInstance().getQuota(), 50);
    EXPECT_EQ(p_keeper->getTicksLeft(), DayKeeper::DAY_LENGTH);
    EXPECT_TRUE(p_keeper->isDayActive());
    EXPECT_TRUE(p_keeper->isStarted());

    const std::vector<Plot*> plots = cftest::allOfType<Plot>("Plot");
    ASSERT_EQ(plots.size(), 10u);
    EXPECT_TRUE(at(plots.front(), 4, 6));
    EXPECT_TRUE(at(plots.back(), 76, 6));
    const std::vector<PlotModifier*> tools = cftest::allOfType<PlotModifier>("PlotModifier");
    ASSERT_EQ(tools.size(), 2u);
    EXPECT_EQ(tools[0]->getModifierType(), WATERING_CAN);
    EXPECT_EQ(tools[1]->getModifierType(), FERTILIZER);
    EXPECT_EQ(countOfType("Crow"), 1);
    EXPECT_EQ(countOfType("Fly"), 1);

    vq::EventKeyboard space;
    space.setKey(vq::Keyboard::SPACE);
    space.setKeyboardAction(vq::KEY_PRESSED);
    EXPECT_EQ(p_keeper->eventHandler(&space), 0) << "a running day ignores SPACE";
    EXPECT_EQ(countOfType("Plot"), 10);
    EXPECT_EQ(p_keeper->getDay(), 1);
}

TEST_F(DayKeeperTest, ADayLastsExactly1800StepsAndMeetingTheQuotaOpensTheShop) {
    key(vq::Keyboard::SPACE);
    steps(DayKeeper::DAY_LENGTH - 2);
    MoneyManager::getInstance().addMoney(50);
    steps(1);
    EXPECT_TRUE(p_keeper->isDayActive()) << "1799 steps";
    EXPECT_EQ(p_keeper->getTicksLeft(), 1);
    EXPECT_EQ(countOfType("ShopDisplay"), 0);
    steps(1);

    EXPECT_FALSE(p_keeper->isDayActive());
    EXPECT_TRUE(p_keeper->isStarted());
    EXPECT_EQ(timesPlayed("success"), 1) << "money equal to the quota passes";
    EXPECT_EQ(timesPlayed("game_over"), 0);
    EXPECT_EQ(p_keeper->getDay(), 2);
    EXPECT_EQ(MoneyManager::getInstance().getQuota(), 80);
    EXPECT_EQ(MoneyManager::getInstance().getMoney(), 50) << "passing a day costs nothing";
    EXPECT_EQ(countOfType("Plot"), 10) << "the field stays, inactive";
    EXPECT_FALSE(cftest::firstOfType<FarmObject>("Plot")->getActive());
    EXPECT_FALSE(cftest::firstOfType<FarmObject>("Crow")->getActive());

    const std::vector<ShopDisplay*> offers = cftest::allOfType<ShopDisplay>("ShopDisplay");
    ASSERT_EQ(offers.size(), 3u);
    EXPECT_TRUE(at(offers[0], 35, 10));
    EXPECT_TRUE(at(offers[1], 65, 10));
    EXPECT_TRUE(at(offers[2], 50, 13));
    EXPECT_NE(offers[0]->getUpgrade().name, offers[1]->getUpgrade().name);
    ASSERT_EQ(countOfType("ShopDescription"), 1);
    EXPECT_TRUE(at(cftest::firstOfType<vq::Object>("ShopDescription"), 50, 18));
    const vq::ObjectList decorations = vq::WorldManager::getInstance().objectsOfType("ShopObject");
    ASSERT_EQ(decorations.getCount(), 3);
    EXPECT_EQ(dynamic_cast<DisplayText*>(decorations[0])->getText(), "SHOP");
    EXPECT_TRUE(at(decorations[0], 50, 5));
    EXPECT_EQ(dynamic_cast<DisplayText*>(decorations[1])->getText(), "Press SPACE to close the shop.");
    EXPECT_TRUE(at(decorations[1], 50, 20));
    EXPECT_EQ(spriteLabel(decorations[2]), "pumpkin");
    EXPECT_TRUE(at(decorations[2], 15, 12));
    // The quota-met picture over the opening shop.
    EXPECT_EQ(cftest::objectCount(), 1 + 10 + 2 + 2 + 3 + 1 + 3 + 1);

    key(vq::Keyboard::SPACE, vq::KEY_RELEASED);
    key(vq::Keyboard::W);
    steps(1);
    EXPECT_FALSE(p_keeper->isDayActive()) << "only a SPACE press leaves the shop";
    key(vq::Keyboard::SPACE);
    EXPECT_TRUE(p_keeper->isDayActive());
    EXPECT_EQ(p_keeper->getTicksLeft(), DayKeeper::DAY_LENGTH);
    EXPECT_EQ(p_keeper->getDay(), 2) << "the day number moved on when the shop opened";
    EXPECT_TRUE(farmActive());
}

TEST_F(DayKeeperTest, FieldWorkAddsAtMostThreePlotsPerSwitch) {
    key(vq::Keyboard::SPACE);
    MoneyManager::getInstance().addMoney(125 + 250);
    UpgradeManager& upgrades = UpgradeManager::getInstance();
    ASSERT_TRUE(upgrades.attemptPurchaseUpgrade("Field Work"));
    ASSERT_TRUE(upgrades.attemptPurchaseUpgrade("Field Work"))
        << MoneyManager::getInstance().getMoney() << " " << upgrades.getPurchaseCount("Field Work");

    p_keeper->swapToFarm();
    std::vector<Plot*> plots = cftest::allOfType<Plot>("Plot");
    ASSERT_EQ(plots.size(), 13u);
    EXPECT_TRUE(at(plots[10], 4, 12));
    EXPECT_TRUE(at(plots[12], 20, 12));
    p_keeper->swapToFarm();
    EXPECT_EQ(countOfType("Plot"), 16) << "the second purchase pays off a day later";
    p_keeper->swapToFarm();
    EXPECT_EQ(countOfType("Plot"), 16);
}

TEST_F(DayKeeperTest, EveryShopVisitOffersThree) {
    key(vq::Keyboard::SPACE);
    MoneyManager::getInstance().addMoney(100000);
    UpgradeManager& upgrades = UpgradeManager::getInstance();
    // Buy out every upgrade that does not come back.
    for (const char* name : {"Blue Corn", "Fertilizer", "Bug Spray", "Instant Scythe"})
        ASSERT_TRUE(upgrades.attemptPurchaseUpgrade(name));
    for (int visit = 0; visit < 4; visit++) {
        p_keeper->swapToShop();
        EXPECT_EQ(countOfType("ShopDisplay"), 3) << "visit " << visit;
        for (const Upgrade& u : upgrades.getShop())
            if (!u.repeatable)
                upgrades.attemptPurchaseUpgrade(u.name);
        p_keeper->swapToFarm();
        steps(1);
    }
}

TEST_F(DayKeeperTest, MissingTheQuotaLosesTheGameAndANewOneStartsFresh) {
    auto* p_day = new DayText;
    key(vq::Keyboard::SPACE);
    finishDay(60);
    key(vq::Keyboard::SPACE);
    MoneyManager::getInstance().addMoney(1000);
    ASSERT_TRUE(UpgradeManager::getInstance().attemptPurchaseUpgrade("Blue Corn"));
    finishDay(79);

    EXPECT_EQ(timesPlayed("game_over"), 1);
    EXPECT_EQ(timesPlayed("success"), 1) << "only the first day passed";
    EXPECT_FALSE(p_keeper->isStarted());
    EXPECT_FALSE(p_keeper->isDayActive());
    EXPECT_EQ(p_keeper->getDay(), 0);
    EXPECT_EQ(p_keeper->getTicksLeft(), 0);
    EXPECT_EQ(MoneyManager::getInstance().getMoney(), 0);
    EXPECT_EQ(MoneyManager::getInstance().getQuota(), 0);
    EXPECT_FALSE(UpgradeManager::getInstance().hasUpgrade("Blue Corn"));
    EXPECT_EQ(UpgradeManager::getInstance().getShop().size(), 9u);
    for (const char* type : {"Plot", "PlotModifier", "Crow", "Fly", "ShopDisplay"})
        EXPECT_EQ(countOfType(type), 0) << type;
    auto* p_title = cftest::firstOfType<TitleScreen>("TitleScreen");
    ASSERT_NE(p_title, nullptr);
    EXPECT_EQ(spriteLabel(p_title), "text_gameover") << "made while the lost game's money was held";
    EXPECT_EQ(Plot::plot_count, 0);

    steps(5);
    EXPECT_EQ(p_keeper->getTicksLeft(), 0) << "no timer runs at the title";
    EXPECT_EQ(p_keeper->getDay(), 0);

    key(vq::Keyboard::SPACE);
    EXPECT_EQ(p_keeper->getDay(), 1);
    EXPECT_EQ(p_day->getText(), "Day 1");
    EXPECT_EQ(MoneyManager::getInstance().getQuota(), 50);
    EXPECT_EQ(MoneyManager::getInstance().getMoney(), 0);
    const std::vector<Plot*> plots = cftest::allOfType<Plot>("Plot");
    ASSERT_EQ(plots.size(), 10u);
    EXPECT_TRUE(at(plots.front(), 4, 6)) << "laid out again from the top left";
    steps(1);
    EXPECT_EQ(countOfType("TitleScreen"), 0);
}

// The situations Q is pressed in.
enum class Situation { TITLE, FARM, SHOP, RELEASE };

void playUntilAndPressQ(Situation situation, const std::string& marker) {
    // The objects of a real run, so the exit happens with a full world.
    vq::LogManager& log = vq::LogManager::getInstance();
    log.setLogLevel(0);
    log.setLogTimeString(true);
    log.setLogStepCount(true);
    auto* p_keeper = createRunObjects();
    steps(2);
    if (situation != Situation::TITLE) {
        key(vq::Keyboard::SPACE);
        steps(5);
    }
    if (situation == Situation::SHOP) {
        MoneyManager::getInstance().addMoney(50);
        steps(p_keeper->getTicksLeft());
        steps(2);
        if (cftest::countOfType("ShopDisplay") != 3)
            exit(3);
    }
    log.writeLog("%s", marker.c_str());
    key(vq::Keyboard::Q, situation == Situation::RELEASE ? vq::KEY_RELEASED : vq::KEY_PRESSED);
    exit(2); // Q did not end the process
}

std::string readLog() {
    std::ifstream in("velloq.log");
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

class DayKeeperQuitTest : public cftest::GameTest, public ::testing::WithParamInterface<Situation> {};

TEST_P(DayKeeperQuitTest, QEndsTheProcessWithStatusZero) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // The re-executed child inherits the parent's marker through the environment.
    if (getenv("CF_QUIT_MARKER") == nullptr) {
        const std::string fresh = std::to_string(getpid()) + "-" + std::to_string(time(nullptr));
        setenv("CF_QUIT_MARKER", fresh.c_str(), 1);
    }
    const std::string marker =
        std::string("quit marker ") + getenv("CF_QUIT_MARKER") + " " + std::to_string(static_cast<int>(GetParam()));
    EXPECT_EXIT(playUntilAndPressQ(GetParam(), marker), ::testing::ExitedWithCode(0), "");
    // The child's last line survives its exit whole.
    EXPECT_NE(readLog().find(marker + "\n"), std::string::npos) << marker;
}

INSTANTIATE_TEST_SUITE_P(EverySituation, DayKeeperQuitTest,
                         ::testing::Values(Situation::TITLE, Situation::FARM, Situation::SHOP, Situation::RELEASE));

} // namespace
