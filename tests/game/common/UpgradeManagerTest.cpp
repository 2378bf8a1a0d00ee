#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "common/MoneyManager.h"
#include "common/UpgradeManager.h"

namespace {

const std::vector<std::string> ROOTS = {"Blue Corn", "Fresher Water", "When It Rains", "Scarecrow",     "Field Work",
                                        "Fertilizer", "Bug Spray",    "Bug Net",       "Instant Scythe"};

std::vector<std::string> names(const std::vector<Upgrade>& upgrades) {
    std::vector<std::string> result;
    for (const Upgrade& u : upgrades)
        result.push_back(u.name);
    return result;
}

class UpgradeManagerTest : public ::testing::Test {
protected:
    // Also when the whole binary runs in one process.
    void SetUp() override {
        money.reset();
        upgrades.reset();
    }

    UpgradeManager& upgrades = UpgradeManager::getInstance();
    MoneyManager& money = MoneyManager::getInstance();

    // Pays with exactly the asked price: a wrong price shows as a refusal or change.
    bool buyExactly(const std::string& name, int price) {
        money.reset();
        money.addMoney(price);
        return upgrades.attemptPurchaseUpgrade(name) && money.getMoney() == 0;
    }
};

TEST_F(UpgradeManagerTest, TheTree) {
    const std::vector<std::string> order = {"Blue Corn",     "Purple Corn",   "White Corn", "Red Corn",
                                            "Fresher Water", "When It Rains", "Scarecrow",  "Field Work",
                                            "Fertilizer",    "Stuffed Bags",  "Fast Supplier", "Bug Spray",
                                            "Bug Net",       "Instant Scythe", "Seed Drill"};
    const int prices[] = {100, 300, 600, 1000, 150, 175, 200, 125, 300, 200, 250, 275, 325, 350, 1050};
    const std::string repeatable = "....RRRR.RR.R..";
    const char* prerequisites[] = {"", "Blue Corn", "Purple Corn", "White Corn", "", "", "", "", "",
                                   "Fertilizer", "Fertilizer", "", "", "", "Instant Scythe"};
    ASSERT_EQ(names(upgrade_tree), order);
    for (size_t i = 0; i < order.size(); i++) {
        SCOPED_TRACE(order[i]);
        EXPECT_EQ(upgrade_tree[i].price, prices[i]);
        EXPECT_EQ(upgrade_tree[i].repeatable, repeatable[i] == 'R');
        EXPECT_EQ(upgrade_tree[i].prerequisite, prerequisites[i]);
    }
    EXPECT_EQ(upgrade_tree[3].description, "Each corn sells for $5 more ($30).");
    EXPECT_EQ(upgrade_tree[10].sprite, "upg-fast_supplier");
    EXPECT_EQ(names(upgrades.getShop()), ROOTS);
}

TEST_F(UpgradeManagerTest, PurchasesPayExactlyTheCurrentPrice) {
    money.addMoney(99);
    EXPECT_FALSE(upgrades.attemptPurchaseUpgrade("Blue Corn"));
    EXPECT_EQ(money.getMoney(), 99);
    EXPECT_TRUE(buyExactly("Blue Corn", 100));
    EXPECT_FALSE(upgrades.upgradeInShop("Blue Corn"));
    EXPECT_FALSE(buyExactly("Blue Corn", 100));

    for (int price : {200, 400, 600})
        EXPECT_TRUE(buyExactly("Scarecrow", price));
    EXPECT_TRUE(upgrades.upgradeInShop("Scarecrow"));
    EXPECT_EQ(upgrades.getPurchaseCount("Scarecrow"), 3);
    EXPECT_EQ(upgrades.getUpgradePrice(upgrades.getShopUpgrade("Bug Net")), 325);
    EXPECT_TRUE(buyExactly("Bug Spray", 275));
    EXPECT_EQ(names(upgrades.getUpgrades()), (std::vector<std::string>{"Blue Corn", "Scarecrow", "Bug Spray"}));

    // Not on offer, or unknown: nothing is taken.
    money.addMoney(5000);
    EXPECT_FALSE(upgrades.attemptPurchaseUpgrade("Seed Drill"));
    EXPECT_FALSE(upgrades.attemptPurchaseUpgrade("Golden Corn"));
    EXPECT_EQ(money.getMoney(), 5000);
    EXPECT_EQ(upgrades.getPurchaseCount("Golden Corn"), 0);
}

TEST_F(UpgradeManagerTest, UnlockingAtTheNextVisitInTreeOrder) {
    money.addMoney(1000);
    EXPECT_FALSE(upgrades.attemptPurchaseUpgrade("Purple Corn"));
    ASSERT_TRUE(upgrades.attemptPurchaseUpgrade("Fertilizer"));
    ASSERT_TRUE(upgrades.attemptPurchaseUpgrade("Blue Corn"));
    EXPECT_FALSE(upgrades.upgradeInShop("Purple Corn"));
    upgrades.updateUpgradeShop();
    upgrades.updateUpgradeShop();
    const std::vector<std::string> shop = names(upgrades.getShop());
    EXPECT_EQ(std::vector<std::string>(shop.end() - 3, shop.end()),
              (std::vector<std::string>{"Purple Corn", "Stuffed Bags", "Fast Supplier"}));
    EXPECT_EQ(shop.size(), 10u);

    // A bought one-off never comes back.
    ASSERT_TRUE(upgrades.attemptPurchaseUpgrade("Purple Corn"));
    upgrades.updateUpgradeShop();
    EXPECT_FALSE(upgrades.upgradeInShop("Purple Corn"));
    EXPECT_EQ(upgrades.getShop().back().name, "White Corn");
}

TEST_F(UpgradeManagerTest, ResetReturnsToTheFirstShop) {
    money.addMoney(1000);
    ASSERT_TRUE(upgrades.attemptPurchaseUpgrade("Blue Corn"));
    ASSERT_TRUE(upgrades.attemptPurchaseUpgrade("Scarecrow"));
    upgrades.updateUpgradeShop();
    upgrades.reset();
    EXPECT_EQ(names(upgrades.getShop()), ROOTS);
    EXPECT_FALSE(upgrades.hasUpgrade("Blue Corn"));
    EXPECT_EQ(upgrades.getUpgradePrice(upgrades.getShopUpgrade("Scarecrow")), 200);
    EXPECT_TRUE(upgrades.getUpgrades().empty());
}

TEST_F(UpgradeManagerTest, ShopSelection) {
    upgrades.setShopSeed(20240607);
    std::set<std::string> seen;
    for (int round = 0; round < 300; round++) {
        const std::vector<Upgrade> picked = upgrades.getShopSelection(3);
        ASSERT_EQ(picked.size(), 3u);
        ASSERT_EQ(std::set<std::string>({picked[0].name, picked[1].name, picked[2].name}).size(), 3u);
        seen.insert(picked[0].name);
    }
    EXPECT_EQ(seen.size(), 9u);
    // The same seed, the same offers.
    upgrades.setShopSeed(77);
    const std::vector<std::string> first = names(upgrades.getShopSelection(3));
    EXPECT_NE(names(upgrades.getShopSelection(3)), first);
    upgrades.setShopSeed(77);
    EXPECT_EQ(names(upgrades.getShopSelection(3)), first);
    EXPECT_EQ(upgrades.getShopSelection(20).size(), 9u);
    EXPECT_TRUE(upgrades.getShopSelection(-1).empty());

    // Offers do not come from the game's random sequence.
    srand(12);
    const int expected = rand();
    srand(12);
    upgrades.getShopSelection(3);
    EXPECT_EQ(rand(), expected);

    // The game's shop never gets this small; an emptied catalogue makes it so.
    const std::vector<Upgrade> tree = upgrade_tree;
    upgrade_tree.clear();
    upgrades.reset();
    EXPECT_TRUE(upgrades.getShopSelection(3).empty());
    upgrades.addUpgradeToShop(tree[4]);
    upgrades.addUpgradeToShop(tree[12]);
    const std::vector<Upgrade> picked = upgrades.getShopSelection(3);
    EXPECT_EQ(std::set<std::string>({picked.at(0).name, picked.at(1).name}),
              std::set<std::string>({"Fresher Water", "Bug Net"}));
    EXPECT_EQ(picked.size(), 2u);
}

} // namespace
