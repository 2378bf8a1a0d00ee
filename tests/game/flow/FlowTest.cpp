// Whole games through the objects of a run, as main creates them: the title,
// farm days, the shop, losing and starting again, and Q.

#include <gtest/gtest.h>

#include <ctime>

#include <SFML/Audio/Music.hpp>

#include "ScriptedPlayer.h"
#include "TempDir.h"
#include "flow/DayKeeper.h"
#include "flow/RunObjects.h"

using namespace vqtest;

namespace {

bool at(const vq::Object* p_o, float x, float y) { return p_o->getPosition() == vq::Vector(x, y); }
bool musicPlaying() {
    return vq::ResourceManager::getInstance().getMusic("lounge")->getMusic()->getStatus() ==
           sf::SoundSource::Status::Playing;
}

class FlowTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        srand(20240607); // one path every run: the game's chance and the shop's offers seeded
        UpgradeManager::getInstance().setShopSeed(20240607);
        p_keeper = createRunObjects();
        steps();
    }
    // Runs the farm day to its end with the given money in hand at the last step.
    void finishDay(int cash) {
        ASSERT_TRUE(p_keeper->isDayActive());
        steps(p_keeper->getTicksLeft() - 1);
        MoneyManager::getInstance().subtractMoney(money() - cash);
        steps();
        ASSERT_FALSE(p_keeper->isDayActive());
    }
    // The status texts: day on the left, money and quota in the middle, seconds on the right.
    void expectTopRow(const std::string& day, const std::string& cash, const std::string& seconds) {
        const std::string top = screenRow(1);
        EXPECT_EQ(top.substr(4, 8).find(day), 2u) << top;
        EXPECT_NE(top.substr(28, 24).find(" " + cash + " "), std::string::npos) << top;
        EXPECT_EQ(top.substr(68, 8), (seconds.size() == 1 ? "    " : "   ") + seconds + "   ") << top;
    }
    static bool fieldShown() {
        return showsPicture("plot_empty", vq::Vector(76, 6)) || showsPicture("plot_watered", vq::Vector(76, 6));
    }

    DayKeeper* p_keeper = nullptr;
};

TEST(Quota, GrowsWithTheDay) {
    const int quota[][2] = {{1, 50}, {2, 80}, {3, 120}, {4, 170}, {5, 230}, {6, 300}, {7, 380}, {10, 680}};
    for (const auto& day : quota)
        EXPECT_EQ(DayKeeper::quotaForDay(day[0]), day[1]) << "day " << day[0];
}

TEST_F(FlowTest, AFarmDayThenTheShopThenTheNextDay) {
    EXPECT_TRUE(showsPicture("text_title", vq::Vector(40, 12)) && musicPlaying());
    expectTopRow("Day 1", "$0 / $0", "0");
    key(vq::Keyboard::SPACE, vq::KEY_RELEASED);
    key(vq::Keyboard::ENTER);
    click(vq::Vector(40, 12));
    steps(200);
    ASSERT_FALSE(p_keeper->isStarted()) << "releases, other keys and the mouse do not start a game";
    EXPECT_TRUE(showsPicture("text_title", vq::Vector(40, 12)) && musicPlaying());

    key(vq::Keyboard::SPACE);
    EXPECT_FALSE(musicPlaying());
    steps();
    EXPECT_EQ(countOf("TitleScreen"), 0);
    expectTopRow("Day 1", "$0 / $50", "60");
    const std::vector<Plot*> plots = allOf<Plot>("Plot");
    ASSERT_EQ(plots.size(), 10u);
    EXPECT_TRUE(at(plots.front(), 4, 6) && at(plots.back(), 76, 6));
    EXPECT_TRUE(countOf("PlotModifier") == 2 && countOf("Crow") == 1 && countOf("Fly") == 1) << "tools and pests";
    EXPECT_TRUE(fieldShown());
    key(vq::Keyboard::SPACE);
    EXPECT_EQ(countOf("Plot"), 10) << "a running day ignores SPACE";

    // Work the field for the whole day: plant, water, harvest, chase pests.
    ScriptedPlayer player;
    int day_steps = 1;
    for (; p_keeper->isDayActive(); day_steps++) {
        player.farmTurn();
        steps();
    }
    EXPECT_EQ(day_steps, DayKeeper::DAY_LENGTH);
    const int harvests = timesPlayed("crop_harvest");
    EXPECT_GE(harvests, 5);
    EXPECT_EQ(money(), 10 * harvests) << "yellow corn sells for $10";
    EXPECT_TRUE(timesPlayed("watering_drop") >= 1 && timesPlayed("pest_hurt") >= 1);
    EXPECT_EQ(playedSounds().back(), "success");

    // The shop, over the hidden field, after the quota-met picture.
    const int cash = money();
    steps(59);
    EXPECT_TRUE(showsPicture("text_passed", vq::Vector(40, 12)));
    const std::vector<ShopDisplay*> offers = allOf<ShopDisplay>("ShopDisplay");
    ASSERT_EQ(offers.size(), 3u);
    EXPECT_TRUE(at(offers[0], 35, 10) && at(offers[1], 65, 10) && at(offers[2], 50, 13));
    EXPECT_EQ(countOf("ShopDescription") + countOf("ShopObject"), 4);
    steps();
    EXPECT_FALSE(showsPicture("text_passed", vq::Vector(40, 12))) << "gone after 60 steps";
    EXPECT_EQ(cells(5, 48, 4) + cells(20, 35, 30), "SHOPPress SPACE to close the shop.");
    EXPECT_TRUE(showsPicture("pumpkin", vq::Vector(15, 12)));
    expectTopRow("Day 2", "$" + std::to_string(cash) + " / $80", "0");
    EXPECT_FALSE(fieldShown());
    for (FarmObject* p : allOf<FarmObject>("Crow"))
        EXPECT_FALSE(p->getActive());

    ShopDisplay* p_bought = player.shopTurn();
    ASSERT_NE(p_bought, nullptr);
    EXPECT_EQ(money(), cash - p_bought->getPrice());
    const std::string bought = p_bought->getUpgrade().name;
    EXPECT_TRUE(UpgradeManager::getInstance().hasUpgrade(bought));

    key(vq::Keyboard::SPACE, vq::KEY_RELEASED);
    key(vq::Keyboard::W);
    steps();
    EXPECT_FALSE(p_keeper->isDayActive()) << "only a SPACE press leaves the shop";
    key(vq::Keyboard::SPACE);
    steps();
    EXPECT_EQ(countOf("ShopDisplay") + countOf("ShopObject") + countOf("ShopDescription"), 0);
    EXPECT_EQ(p_keeper->getTicksLeft(), DayKeeper::DAY_LENGTH - 1);
    expectTopRow("Day 2", "$" + std::to_string(money()) + " / $80", "60");
    EXPECT_EQ(countOf("Plot"), bought == "Field Work" ? 13 : 10);
    for (Plot* p : allOf<Plot>("Plot"))
        EXPECT_TRUE(p->getStage() == 0 && p->getActive()) << "every plot starts the day empty";
    EXPECT_TRUE(fieldShown());
}

TEST_F(FlowTest, FieldWorkAddsAtMostThreePlotsPerDayAndEveryShopOffersThree) {
    key(vq::Keyboard::SPACE);
    MoneyManager::getInstance().addMoney(100000);
    UpgradeManager& upgrades = UpgradeManager::getInstance();
    ASSERT_TRUE(upgrades.attemptPurchaseUpgrade("Field Work") && upgrades.attemptPurchaseUpgrade("Field Work"));
    for (const char* name : {"Blue Corn", "Fertilizer", "Bug Spray", "Instant Scythe"})
        ASSERT_TRUE(upgrades.attemptPurchaseUpgrade(name)); // one-offs bought out, visit after visit
    const int plots_after[] = {13, 16, 16, 16};
    for (int visit = 0; visit < 4; visit++) {
        p_keeper->swapToShop();
        EXPECT_EQ(countOf("ShopDisplay"), 3) << "visit " << visit;
        for (const Upgrade& u : upgrades.getShop())
            if (!u.repeatable)
                upgrades.attemptPurchaseUpgrade(u.name);
        p_keeper->swapToFarm();
        EXPECT_EQ(countOf("Plot"), plots_after[visit]) << "a second Field Work pays off a day later";
        steps();
    }
    const std::vector<Plot*> plots = allOf<Plot>("Plot");
    EXPECT_TRUE(at(plots[10], 4, 12) && at(plots[15], 44, 12));
}

TEST_F(FlowTest, MissingTheQuotaLosesEverythingAndANewGameStartsFresh) {
    key(vq::Keyboard::SPACE);
    finishDay(50); // equal to the quota is enough
    key(vq::Keyboard::SPACE);
    ASSERT_TRUE(buy("Blue Corn"));
    finishDay(79);
    EXPECT_TRUE(timesPlayed("success") == 1 && timesPlayed("game_over") == 1) << "one day passed, one lost";
    EXPECT_FALSE(p_keeper->isStarted());
    const std::vector<int> lost = {p_keeper->getDay(), p_keeper->getTicksLeft(), money(),
                                   MoneyManager::getInstance().getQuota(), Plot::plot_count};
    EXPECT_EQ(lost, std::vector<int>(5, 0)) << "day, time left, money, quota and plots all gone";
    EXPECT_FALSE(UpgradeManager::getInstance().hasUpgrade("Blue Corn"));
    EXPECT_EQ(UpgradeManager::getInstance().getShop().size(), 9u);
    for (const char* type : {"Plot", "PlotModifier", "Crow", "Fly", "ShopDisplay"})
        EXPECT_EQ(countOf(type), 0) << type;
    EXPECT_TRUE(musicPlaying());
    steps(89);
    EXPECT_TRUE(showsPicture("text_gameover", vq::Vector(40, 12))) << "made while the lost game's money was held";
    steps();
    EXPECT_TRUE(showsPicture("text_title", vq::Vector(40, 12))) << "for 90 steps, then the title";
    expectTopRow("Day 2", "$0 / $0", "0");
    EXPECT_EQ(p_keeper->getTicksLeft(), 0) << "no timer runs at the title";

    key(vq::Keyboard::SPACE);
    steps();
    expectTopRow("Day 1", "$0 / $50", "60");
    EXPECT_EQ(countOf("TitleScreen"), 0);
    ASSERT_EQ(countOf("Plot"), 10);
    EXPECT_TRUE(at(allOf<Plot>("Plot").front(), 4, 6)) << "laid out again from the top left";

    // A game lost with $0 leaves no money to tell it from a new start: the
    // title shows at once.
    finishDay(0);
    steps();
    EXPECT_EQ(timesPlayed("game_over"), 2);
    EXPECT_TRUE(showsPicture("text_title", vq::Vector(40, 12)));
}

// The situations Q is pressed in.
enum class Situation { TITLE, FARM, SHOP, RELEASE };

void playUntilAndPressQ(Situation situation, const std::string& marker) {
    vq::LogManager& log = vq::LogManager::getInstance();
    log.setLogLevel(0);
    log.setLogTimeString(true);
    log.setLogStepCount(true);
    DayKeeper* p_keeper = createRunObjects(); // the exit happens with a full world
    steps(2);
    if (situation != Situation::TITLE) {
        key(vq::Keyboard::SPACE);
        steps(5);
    }
    if (situation == Situation::SHOP) {
        MoneyManager::getInstance().addMoney(50);
        steps(p_keeper->getTicksLeft() + 2);
        if (countOf("ShopDisplay") != 3)
            exit(3);
    }
    log.writeLog("%s", marker.c_str());
    key(vq::Keyboard::Q, situation == Situation::RELEASE ? vq::KEY_RELEASED : vq::KEY_PRESSED);
    exit(2); // Q did not end the process
}

class QuitTest : public GameTest, public ::testing::WithParamInterface<Situation> {};

TEST_P(QuitTest, QEndsTheProcessWithStatusZero) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // The re-executed child inherits the parent's marker through the environment.
    if (getenv("VQ_QUIT_MARKER") == nullptr)
        setenv("VQ_QUIT_MARKER", (std::to_string(getpid()) + "-" + std::to_string(time(nullptr))).c_str(), 1);
    const std::string marker =
        std::string("quit marker ") + getenv("VQ_QUIT_MARKER") + " " + std::to_string(static_cast<int>(GetParam()));
    EXPECT_EXIT(playUntilAndPressQ(GetParam(), marker), ::testing::ExitedWithCode(0), "");
    // The child's last line survives its exit whole.
    EXPECT_NE(TempDir::read("velloq.log").find(marker + "\n"), std::string::npos) << marker;
}

INSTANTIATE_TEST_SUITE_P(EverySituation, QuitTest,
                         ::testing::Values(Situation::TITLE, Situation::FARM, Situation::SHOP, Situation::RELEASE));

} // namespace
