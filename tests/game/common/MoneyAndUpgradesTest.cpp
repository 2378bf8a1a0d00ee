// Money and the quota, the upgrade catalogue, prices, purchases and the
// shop's random offers.

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "common/MoneyManager.h"
#include "common/UpgradeManager.h"

namespace {

std::vector<std::string> names(const std::vector<Upgrade>& list) {
    std::vector<std::string> result;
    for (const Upgrade& u : list)
        result.push_back(u.name);
    return result;
}

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
    // clang-format off
    const std::vector<std::string> roots = {"Blue Corn", "Fresher Water", "When It Rains", "Scarecrow", "Field Work",
                                            "Fertilizer", "Bug Spray",     "Bug Net",       "Instant Scythe"};
    // clang-format on
};

TEST_F(UpgradeTest, MoneyReachesTheQuotaAtEqualityAndPaysOnlyWhatItHas) {
    money.setQuota(80);
    money.addMoney(79);
    EXPECT_FALSE(money.quotaReached());
    money.addMoney(1);
    EXPECT_TRUE(money.quotaReached());
    EXPECT_FALSE(money.attemptPerformTransaction(81));
    EXPECT_TRUE(money.attemptPerformTransaction(80));
    money.subtractMoney(30); // amounts are signed and unchecked
    EXPECT_FALSE(money.canAfford(0));
    EXPECT_TRUE(money.attemptPerformTransaction(-40) && money.getMoney() == 10);
}

TEST_F(UpgradeTest, TheCatalogueInOrder) {
    // name, prerequisite, price and "+" for the repeatable ones
    // clang-format off
    const std::vector<std::string> expected = {
        "Blue Corn,,100",          "Purple Corn,Blue Corn,300",   "White Corn,Purple Corn,600",
        "Red Corn,White Corn,1000", "Fresher Water,,150+",        "When It Rains,,175+",
        "Scarecrow,,200+",         "Field Work,,125+",            "Fertilizer,,300",
        "Stuffed Bags,Fertilizer,200+", "Fast Supplier,Fertilizer,250+", "Bug Spray,,275",
        "Bug Net,,325+",           "Instant Scythe,,350",         "Seed Drill,Instant Scythe,1050"};
    // clang-format on
    std::vector<std::string> actual;
    for (const Upgrade& u : upgrade_tree)
        actual.push_back(u.name + "," + u.prerequisite + "," + std::to_string(u.price) + (u.repeatable ? "+" : ""));
    EXPECT_EQ(actual, expected);
    EXPECT_EQ(names(upgrades.getShop()), roots);
}

TEST_F(UpgradeTest, PurchasesPayTheCurrentPriceAndUnlockTheNextInTreeOrder) {
    money.addMoney(99);
    EXPECT_FALSE(upgrades.attemptPurchaseUpgrade("Blue Corn"));
    EXPECT_EQ(money.getMoney(), 99);
    EXPECT_TRUE(buyExactly("Blue Corn", 100));
    EXPECT_FALSE(upgrades.upgradeInShop("Blue Corn") || buyExactly("Blue Corn", 100));
    for (int price : {200, 400, 600}) // repeatable: dearer each time, and still on offer
        EXPECT_TRUE(buyExactly("Scarecrow", price));
    EXPECT_TRUE(buyExactly("Fertilizer", 300));
    EXPECT_EQ(names(upgrades.getUpgrades()), (std::vector<std::string>{"Blue Corn", "Scarecrow", "Fertilizer"}));
    money.addMoney(5000);
    EXPECT_FALSE(upgrades.attemptPurchaseUpgrade("Purple Corn") || upgrades.attemptPurchaseUpgrade("Golden Corn"))
        << "not on offer yet, or not at all";
    EXPECT_EQ(money.getMoney(), 5000);
    upgrades.updateUpgradeShop();
    upgrades.updateUpgradeShop();
    const std::vector<std::string> shop = names(upgrades.getShop());
    EXPECT_EQ(std::vector<std::string>(shop.begin() + 7, shop.end()),
              (std::vector<std::string>{"Purple Corn", "Stuffed Bags", "Fast Supplier"}));
    ASSERT_TRUE(upgrades.attemptPurchaseUpgrade("Purple Corn"));
    upgrades.updateUpgradeShop();
    EXPECT_FALSE(upgrades.upgradeInShop("Purple Corn")) << "a bought one-off never comes back";
    EXPECT_EQ(upgrades.getShop().back().name, "White Corn");
    upgrades.reset();
    EXPECT_EQ(names(upgrades.getShop()), roots);
    EXPECT_EQ(upgrades.getPurchaseCount("Scarecrow"), 0);
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
    srand(12);
    const std::vector<std::string> seeded = names(upgrades.getShopSelection(3));
    EXPECT_NE(names(upgrades.getShopSelection(3)), seeded);
    const int next_rand = rand();
    upgrades.setShopSeed(77);
    srand(12);
    EXPECT_EQ(names(upgrades.getShopSelection(3)), seeded);
    EXPECT_EQ(rand(), next_rand) << "the game's chance is left alone";
    EXPECT_TRUE(upgrades.getShopSelection(20).size() == 9u && upgrades.getShopSelection(-1).empty());
}

} // namespace
