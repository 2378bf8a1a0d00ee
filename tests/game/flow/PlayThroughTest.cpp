// Whole games through the real objects of a run, as main creates them,
// driven by made-up keyboard and mouse events and checked on screen.

#include <gtest/gtest.h>

#include <cstdlib>

#include "ScriptedPlayer.h"
#include "flow/TimeText.h"
#include "hud/DayText.h"
#include "hud/MoneyText.h"
#include "hud/TitleScreen.h"

using namespace cftest;
using vqtest::spriteLabel;

namespace {

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Whether anything is drawn in the cells around a plot at (x, y).
bool drawnAround(int x, int y) {
    for (int row = y - 1; row <= y + 1; row++)
        if (screenRow(row).substr(static_cast<size_t>(x - 2), 5).find_first_not_of(' ') != std::string::npos)
            return true;
    return false;
}

class PlayThroughTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        // One path every run: the game's chance and the shop's offers seeded.
        srand(20240607);
        UpgradeManager::getInstance().setShopSeed(20240607);
        // The six objects main creates, in main's order.
        new TitleScreen;
        p_reticle = new Reticle;
        p_keeper = new DayKeeper;
        new TimeText;
        new MoneyText;
        new DayText;
    }

    void expectTopRow(const std::string& day, const std::string& money, const std::string& time) {
        const std::string top = screenRow(1);
        EXPECT_TRUE(contains(top, day)) << top;
        EXPECT_TRUE(contains(top, money)) << top;
        EXPECT_TRUE(contains(top.substr(64), time)) << top;
    }

    Reticle* p_reticle = nullptr;
    DayKeeper* p_keeper = nullptr;
};

TEST_F(PlayThroughTest, FarmShopAndLossAcrossWholeGames) {
    steps(1);
    ASSERT_EQ(countOfType("TitleScreen"), 1);
    EXPECT_TRUE(contains(screenRow(1), "$0 / $0")) << "before the first game";

    // --- Day 1 -------------------------------------------------------------
    key(vq::Keyboard::SPACE);
    steps(1);
    ASSERT_EQ(countOfType("TitleScreen"), 0) << "SPACE takes the title away";
    expectTopRow("Day 1", "$0 / $50", "60");
    std::vector<Plot*> plots = allOfType<Plot>("Plot");
    ASSERT_EQ(plots.size(), 10u);

    for (Plot* p : plots)
        click(p->getPosition());
    for (Plot* p : plots)
        EXPECT_EQ(p->getStage(), 1);
    EXPECT_EQ(timesPlayed("crop_plant"), 10);
    steps(1);
    EXPECT_TRUE(drawnAround(4, 6)) << screen();

    // The watering can shows up within 200 steps of the start.
    PlotModifier* p_can = allOfType<PlotModifier>("PlotModifier").front();
    int waited = 0;
    while (!p_can->getAvailable() && waited++ < 200)
        steps(1);
    ASSERT_TRUE(p_can->getAvailable());
    click(p_can->getPosition());
    EXPECT_EQ(p_reticle->getHeldModifier(), WATERING_CAN);
    EXPECT_EQ(p_reticle->getColor(), vq::CYAN);
    EXPECT_EQ(timesPlayed("watering_pickup"), 1);
    steps(1);
    Plot* p_dry = nullptr;
    for (Plot* p : plots)
        if (p->getWaterTicks() == 0 && (p_dry == nullptr))
            p_dry = p;
    ASSERT_NE(p_dry, nullptr);
    click(p_dry->getPosition());
    EXPECT_EQ(p_dry->getWaterTicks(), 60);
    EXPECT_EQ(timesPlayed("watering_drop"), 1);
    EXPECT_EQ(p_reticle->getHeldModifier(), NO_MODIFIER);

    // Work the field to the end of the day: harvest, replant, chase pests.
    ScriptedPlayer player;
    bool saw_floating_text = false;
    bool drove_pest_off = false;
    while (p_keeper->isDayActive()) {
        const int harvests = timesPlayed("crop_harvest");
        Pest* p_target = nullptr;
        for (const char* kind : {"Crow", "Fly"})
            for (Pest* p : allOfType<Pest>(kind))
                if (p->getSpawned())
                    p_target = p;
        const ScriptedPlayer::Action action = player.farmTurn();
        if (action == ScriptedPlayer::HIT_PEST && p_target != nullptr && !p_target->getSpawned() &&
            p_target->getLifetime() > 0)
            drove_pest_off = true;
        if (timesPlayed("crop_harvest") > harvests && !saw_floating_text) {
            steps(1);
            saw_floating_text = countOfType("FloatingText") > 0 && contains(screen(), "+$10");
            continue;
        }
        steps(1);
    }
    const int harvests = timesPlayed("crop_harvest");
    EXPECT_GE(harvests, 5);
    EXPECT_TRUE(saw_floating_text);
    EXPECT_GE(timesPlayed("pest_hurt"), 2);
    EXPECT_TRUE(drove_pest_off) << "a pest was clicked until it fled";
    EXPECT_EQ(timesPlayed("success"), 1);

    // --- Shop ---------------------------------------------------------------
    const int money_after_day1 = MoneyManager::getInstance().getMoney();
    EXPECT_EQ(money_after_day1, 10 * harvests) << "every harvest at corn level 0 sells for $10";
    ASSERT_EQ(countOfType("ShopDisplay"), 3);
    for (const char* kind : {"Plot", "Crow", "Fly", "PlotModifier"})
        for (FarmObject* p : allOfType<FarmObject>(kind))
            EXPECT_FALSE(p->getActive()) << kind;
    // Past the quota-met picture and the click lock.
    steps(ShopDisplay::CLICK_DELAY + 1);
    std::string shown = screen();
    EXPECT_TRUE(contains(shown, "SHOP")) << shown;
    EXPECT_TRUE(contains(screenRow(20), "Press SPACE to close the shop.")) << shown;
    for (ShopDisplay* p : allOfType<ShopDisplay>("ShopDisplay")) {
        EXPECT_TRUE(contains(shown, p->getUpgrade().name)) << p->getUpgrade().name << "\n" << shown;
        EXPECT_TRUE(contains(shown, "$" + std::to_string(p->getPrice()))) << shown;
    }
    expectTopRow("Day 2", "$" + std::to_string(money_after_day1) + " / $80", "0");
    EXPECT_FALSE(drawnAround(4, 6)) << "the field is hidden in the shop";

    std::vector<ShopDisplay*> offers = allOfType<ShopDisplay>("ShopDisplay");
    ShopDisplay* p_cheapest = *std::min_element(offers.begin(), offers.end(), [](ShopDisplay* a, ShopDisplay* b) {
        return a->getPrice() < b->getPrice();
    });
    ShopDisplay* p_dearest = *std::max_element(offers.begin(), offers.end(), [](ShopDisplay* a, ShopDisplay* b) {
        return a->getPrice() < b->getPrice();
    });
    ASSERT_LT(p_cheapest->getPrice(), money_after_day1) << "the seeds give an affordable offer";
    ASSERT_GT(p_dearest->getPrice(), money_after_day1) << "the seeds give one too dear";
    click(p_dearest->getPosition());
    EXPECT_EQ(timesPlayed("shop_fail"), 1);
    EXPECT_FALSE(p_dearest->getPurchased());
    const int before_purchase = MoneyManager::getInstance().getMoney();
    EXPECT_EQ(before_purchase, money_after_day1);
    moveMouse(p_cheapest->getPosition());
    ShopDisplay* p_bought = player.shopTurn();
    ASSERT_EQ(p_bought, p_cheapest);
    EXPECT_TRUE(p_bought->getPurchased());
    EXPECT_EQ(timesPlayed("shop_success"), 1);
    EXPECT_EQ(MoneyManager::getInstance().getMoney(), before_purchase - p_bought->getPrice());
    const std::string bought_name = p_bought->getUpgrade().name;
    EXPECT_TRUE(UpgradeManager::getInstance().hasUpgrade(bought_name));
    steps(1);
    shown = screen();
    EXPECT_TRUE(contains(shown, "Purchased")) << shown;
    EXPECT_TRUE(contains(screenRow(18), p_bought->getUpgrade().description)) << "the hovered offer is described";

    // --- Day 2 ---------------------------------------------------------------
    key(vq::Keyboard::SPACE);
    steps(1);
    EXPECT_EQ(countOfType("ShopDisplay") + countOfType("ShopObject") + countOfType("ShopDescription"), 0);
    const int money_day2 = MoneyManager::getInstance().getMoney();
    expectTopRow("Day 2", "$" + std::to_string(money_day2) + " / $80", "60");
    plots = allOfType<Plot>("Plot");
    const size_t expected_plots = bought_name == "Field Work" ? 13u : 10u;
    EXPECT_EQ(plots.size(), expected_plots);
    for (Plot* p : plots) {
        EXPECT_EQ(p->getStage(), 0) << "every plot starts the day empty";
        EXPECT_TRUE(p->getActive());
    }
    EXPECT_TRUE(drawnAround(4, 6));

    // --- Days without harvesting until the quota outgrows the money --------
    int farm_days = 2;
    while (true) {
        while (p_keeper->isDayActive())
            steps(1);
        if (!p_keeper->isStarted())
            break;
        ASSERT_EQ(countOfType("ShopDisplay"), 3);
        steps(10);
        key(vq::Keyboard::SPACE);
        farm_days++;
        ASSERT_LT(farm_days, 20) << "the quota should have caught up long ago";
    }
    RecordProperty("harvests_day1", harvests);
    RecordProperty("bought", bought_name);
    RecordProperty("farm_days", farm_days);
    EXPECT_EQ(MoneyManager::getInstance().getMoney(), 0) << "reset after the loss";
    EXPECT_EQ(timesPlayed("game_over"), 1);
    EXPECT_EQ(MoneyManager::getInstance().getQuota(), 0);
    EXPECT_FALSE(UpgradeManager::getInstance().hasUpgrade(bought_name));
    EXPECT_TRUE(UpgradeManager::getInstance().getUpgrades().empty());
    for (const char* kind : {"Plot", "PlotModifier", "Crow", "Fly"})
        EXPECT_EQ(countOfType(kind), 0) << kind << " left after the loss";
    auto* p_title = firstOfType<TitleScreen>("TitleScreen");
    ASSERT_NE(p_title, nullptr);
    EXPECT_EQ(spriteLabel(p_title), "text_gameover");
    const std::string game_over_screen = screen();
    EXPECT_FALSE(drawnAround(4, 6));
    expectTopRow("Day", "$0 / $0", "0");
    steps(90);
    EXPECT_EQ(spriteLabel(p_title), "text_title");
    EXPECT_NE(screen(), game_over_screen) << "the title follows the game-over picture";
    EXPECT_EQ(countOfType("Reticle") + countOfType("DayKeeper") + countOfType("TimeText") + countOfType("MoneyText") +
                  countOfType("DayText"),
              5)
        << "the objects of the whole run stay";

    // --- A new game ------------------------------------------------------------
    key(vq::Keyboard::SPACE);
    steps(1);
    expectTopRow("Day 1", "$0 / $50", "60");
    plots = allOfType<Plot>("Plot");
    ASSERT_EQ(plots.size(), 10u);
    EXPECT_EQ(plots.front()->getPosition(), vq::Vector(4, 6));
    EXPECT_EQ(plots.back()->getPosition(), vq::Vector(76, 6));
    EXPECT_EQ(countOfType("TitleScreen"), 0);
    EXPECT_EQ(p_keeper->getDay(), 1);
}

// A game lost with exactly $0 leaves no money to tell it from a new start:
// the title picture shows at once (the game-over picture needs money left).
TEST_F(PlayThroughTest, LossWithNoMoneyShowsTheTitleAtOnce) {
    steps(1);
    key(vq::Keyboard::SPACE);
    steps(1);
    ASSERT_TRUE(p_keeper->isDayActive());
    while (p_keeper->isDayActive())
        steps(1);
    EXPECT_FALSE(p_keeper->isStarted());
    EXPECT_EQ(timesPlayed("game_over"), 1);
    EXPECT_EQ(MoneyManager::getInstance().getMoney(), 0);
    auto* p_title = firstOfType<TitleScreen>("TitleScreen");
    ASSERT_NE(p_title, nullptr);
    EXPECT_EQ(spriteLabel(p_title), "text_title");
    for (const char* kind : {"Plot", "PlotModifier", "Crow", "Fly"})
        EXPECT_EQ(countOfType(kind), 0) << kind;
    key(vq::Keyboard::SPACE);
    steps(1);
    expectTopRow("Day 1", "$0 / $50", "60");
}

} // namespace
