// Money, the game events' names, the upgrade catalogue, prices, purchases and
// the shop's random offers.

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "common/EventDescription.h"
#include "common/EventModifierChange.h"
#include "common/EventNewDay.h"
#include "common/EventStateChange.h"
#include "common/MoneyManager.h"
#include "common/UpgradeManager.h"

namespace {


std::vector<std::string> names(const std::vector<Upgrade>& list) {
    std::vector<std::string> result;
    for (const Upgrade& u : list)
        result.push_back(u.name);
    return result;
}
const std::vector<std::string> ROOTS = {"Blue Corn", "Fresher Water", "When It Rains", "Scarecrow", "Field Work",
                                        "Fertilizer", "Bug Spray", "Bug Net", "Instant Scythe"};

class UpgradeTest : public ::testing::Test {
protected:
    void SetUp() override {
        money.reset();
        upgrades.reset();
    }
    // Pays with exactly the asked price: a wrong price shows as a refusal or as change.
    bool buyExactly(const std::string& name, int price) {
        money.reset();
        money.addMoney(price);
        return upgrades.attemptPurchaseUpgrade(name) && money.getMoney() == 0;
    }
    MoneyManager& money = MoneyManager::getInstance();
    UpgradeManager& upgrades = UpgradeManager::getInstance();
};

TEST(Money, QuotaIsReachedAtEqualityAndOnlyAffordableTransactionsPass) {
    MoneyManager& money = MoneyManager::getInstance();
    money.setQuota(80);
    money.addMoney(79);
    EXPECT_FALSE(money.quotaReached());
    money.addMoney(1);
    EXPECT_TRUE(money.quotaReached());
    EXPECT_FALSE(money.attemptPerformTransaction(81));
    EXPECT_TRUE(money.attemptPerformTransaction(80));
    EXPECT_EQ(money.getMoney(), 0);
    money.subtractMoney(30); // amounts are signed and unchecked
    EXPECT_FALSE(money.canAfford(0));
    EXPECT_TRUE(money.attemptPerformTransaction(-40));
    EXPECT_EQ(money.getMoney(), 10);
    money.reset();
    EXPECT_EQ(money.getMoney() + money.getQuota(), 0);
}

TEST(GameEvents, NamesAndDefaults) {
    EXPECT_EQ(EventNewDay(7).getType(), "new_day_event");
    EXPECT_EQ(EventNewDay(7).getDay(), 7);
    EXPECT_EQ(EventStateChange().getType(), "state_change");
    EXPECT_EQ(EventDescription("x").getType(), "description_event");
    EXPECT_EQ(EventDescription("Flies spawn less often.").getDescription(), "Flies spawn less often.");
    EXPECT_EQ(EventModifierChange().getType(), "modifier_change");
    EXPECT_EQ(EventModifierChange().getModifierType(), NO_MODIFIER);
}

TEST_F(UpgradeTest, TheCatalogue) {
    const struct {
        const char *name, *prerequisite;
        int price;
        bool repeatable;
    } tree[] = {{"Blue Corn", "", 100, false},         {"Purple Corn", "Blue Corn", 300, false},
                {"White Corn", "Purple Corn", 600, false}, {"Red Corn", "White Corn", 1000, false},
                {"Fresher Water", "", 150, true},      {"When It Rains", "", 175, true},
                {"Scarecrow", "", 200, true},          {"Field Work", "", 125, true},
                {"Fertilizer", "", 300, false},        {"Stuffed Bags", "Fertilizer", 200, true},
                {"Fast Supplier", "Fertilizer", 250, true}, {"Bug Spray", "", 275, false},
                {"Bug Net", "", 325, true},            {"Instant Scythe", "", 350, false},
                {"Seed Drill", "Instant Scythe", 1050, false}};
    ASSERT_EQ(upgrade_tree.size(), 15u);
    for (size_t i = 0; i < 15; i++) {
        SCOPED_TRACE(tree[i].name);
        EXPECT_EQ(upgrade_tree[i].name, tree[i].name);
        EXPECT_EQ(upgrade_tree[i].prerequisite, tree[i].prerequisite);
        EXPECT_EQ(upgrade_tree[i].price, tree[i].price);
        EXPECT_EQ(upgrade_tree[i].repeatable, tree[i].repeatable);
    }
    EXPECT_EQ(upgrade_tree[3].description, "Each corn sells for $5 more ($30).");
    EXPECT_EQ(upgrade_tree[10].sprite, "upg-fast_supplier");
    EXPECT_EQ(names(upgrades.getShop()), ROOTS);
}

TEST_F(UpgradeTest, PurchasesPayTheCurrentPriceAndUnlockTheNextInTreeOrder) {
    money.addMoney(99);
    EXPECT_FALSE(upgrades.attemptPurchaseUpgrade("Blue Corn"));
    EXPECT_EQ(money.getMoney(), 99);
    EXPECT_TRUE(buyExactly("Blue Corn", 100));
    EXPECT_FALSE(upgrades.upgradeInShop("Blue Corn"));
    EXPECT_FALSE(buyExactly("Blue Corn", 100));
    for (int price : {200, 400, 600}) // repeatable: dearer each time, still on offer
        EXPECT_TRUE(buyExactly("Scarecrow", price));
    EXPECT_EQ(upgrades.getPurchaseCount("Scarecrow"), 3);
    EXPECT_EQ(upgrades.getUpgradePrice(upgrades.getShopUpgrade("Bug Net")), 325);
    EXPECT_TRUE(buyExactly("Fertilizer", 300));
    EXPECT_EQ(names(upgrades.getUpgrades()), (std::vector<std::string>{"Blue Corn", "Scarecrow", "Fertilizer"}));

    // Not on offer yet, or unknown: nothing is taken.
    money.addMoney(5000);
    EXPECT_FALSE(upgrades.attemptPurchaseUpgrade("Purple Corn"));
    EXPECT_FALSE(upgrades.attemptPurchaseUpgrade("Golden Corn"));
    EXPECT_EQ(money.getMoney(), 5000);
    upgrades.updateUpgradeShop();
    upgrades.updateUpgradeShop();
    std::vector<std::string> shop = names(upgrades.getShop());
    EXPECT_EQ(std::vector<std::string>(shop.begin() + 7, shop.end()),
              (std::vector<std::string>{"Purple Corn", "Stuffed Bags", "Fast Supplier"}));
    // A bought one-off never comes back.
    ASSERT_TRUE(upgrades.attemptPurchaseUpgrade("Purple Corn"));
    upgrades.updateUpgradeShop();
    EXPECT_FALSE(upgrades.upgradeInShop("Purple Corn"));
    EXPECT_EQ(upgrades.getShop().back().name, "White Corn");

    upgrades.reset();
    EXPECT_EQ(names(upgrades.getShop()), ROOTS);
    EXPECT_TRUE(upgrades.getUpgrades().empty());
    EXPECT_EQ(upgrades.getUpgradePrice(upgrades.getShopUpgrade("Scarecrow")), 200);
}

TEST_F(UpgradeTest, OffersAreDifferentSeededAndApartFromTheGamesChance) {
    upgrades.setShopSeed(20240607);
    std::set<std::string> first_offers;
    for (int round = 0; round < 300; round++) {
        const std::vector<std::string> picked = names(upgrades.getShopSelection(3));
        ASSERT_EQ(std::set<std::string>(picked.begin(), picked.end()).size(), 3u);
        first_offers.insert(picked[0]);
    }
    EXPECT_EQ(first_offers.size(), 9u);
    upgrades.setShopSeed(77);
    const std::vector<std::string> seeded = names(upgrades.getShopSelection(3));
    EXPECT_NE(names(upgrades.getShopSelection(3)), seeded);
    upgrades.setShopSeed(77);
    EXPECT_EQ(names(upgrades.getShopSelection(3)), seeded);
    EXPECT_EQ(upgrades.getShopSelection(20).size(), 9u);
    EXPECT_TRUE(upgrades.getShopSelection(-1).empty());
    srand(12);
    const int expected = rand();
    srand(12);
    upgrades.getShopSelection(3);
    EXPECT_EQ(rand(), expected);
}

} // namespace
