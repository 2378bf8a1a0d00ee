// The shop's offers and description line, driven with mouse events and read
// from the screen.

#include <gtest/gtest.h>

#include "GameHarness.h"
#include "core/Geometry.h"
#include "shop/ShopDescription.h"
#include "shop/ShopDisplay.h"

using namespace vqtest;

namespace {

Upgrade catalogue(const std::string& name) {
    for (const Upgrade& u : upgrade_tree)
        if (u.name == name)
            return u;
    return emptyUpgrade();
}
// An offer that accepts clicks already.
ShopDisplay* offer(const std::string& name, vq::Vector at = vq::Vector(35, 10)) {
    auto* p_display = new ShopDisplay(catalogue(name));
    p_display->setPosition(at);
    steps(ShopDisplay::CLICK_DELAY);
    return p_display;
}
int money() { return MoneyManager::getInstance().getMoney(); }

using ShopTest = GameTest;

TEST_F(ShopTest, AnOfferIsABoxWithItsPictureNameAboveAndPriceBelow) {
    MoneyManager::getInstance().addMoney(1000);
    ShopDisplay* p = offer("Fertilizer", vq::Vector(50, 13));
    EXPECT_EQ(p->getPrice(), 300);
    EXPECT_EQ(cells(9, 45, 10), "Fertilizer");
    EXPECT_EQ(cells(10, 45, 10), "+--------+");
    for (int row = 11; row <= 14; row++)
        EXPECT_TRUE(cells(row, 45, 1) == "|" && cells(row, 54, 1) == "|") << row;
    EXPECT_EQ(cells(15, 45, 10), "+--------+");
    EXPECT_EQ(cells(16, 47, 6), " $300 ");
    EXPECT_TRUE(showsPicture("upg-fertilizer", vq::Vector(50, 13)));

    click(vq::Vector(50, 13));
    EXPECT_TRUE(p->getPurchased());
    EXPECT_EQ(money(), 700);
    EXPECT_EQ(timesPlayed("shop_success"), 1);
    steps();
    EXPECT_EQ(cells(16, 45, 10), " Purchased");
    click(vq::Vector(50, 13)); // one purchase per offer and visit, silently
    EXPECT_EQ(money(), 700);
    EXPECT_EQ(playedSounds().size(), 1u);
}

TEST_F(ShopTest, ClicksCountOnlyAfterSixtyStepsAndAFailedPurchaseMayBeTriedAgain) {
    MoneyManager::getInstance().addMoney(99);
    auto* p = new ShopDisplay(catalogue("Blue Corn"));
    p->setPosition(vq::Vector(35, 10));
    steps(ShopDisplay::CLICK_DELAY - 1);
    click(vq::Vector(35, 10));
    EXPECT_TRUE(playedSounds().empty());
    EXPECT_TRUE(p->getHovered()) << "a locked click still hovers";
    steps();
    click(vq::Vector(35, 10));
    EXPECT_FALSE(p->getPurchased());
    EXPECT_EQ(money(), 99);
    EXPECT_EQ(timesPlayed("shop_fail"), 1);
    MoneyManager::getInstance().addMoney(1);
    click(vq::Vector(35, 10));
    EXPECT_TRUE(p->getPurchased());
    EXPECT_EQ(money(), 0);
}

TEST_F(ShopTest, TheWholeBoxIsClickableEdgesIncluded) {
    MoneyManager::getInstance().addMoney(10000);
    ShopDisplay* left = offer("Scarecrow", vq::Vector(35, 10));
    click(vq::Vector(40.01f, 13));
    click(vq::Vector(35, 6.99f));
    EXPECT_FALSE(left->getPurchased()) << "just outside";
    click(vq::Vector(40, 13));
    EXPECT_TRUE(left->getPurchased()) << "bottom-right corner";
    ShopDisplay* right = offer("Bug Net", vq::Vector(65, 10));
    click(vq::Vector(60, 7));
    EXPECT_TRUE(right->getPurchased()) << "top-left corner";
}

TEST_F(ShopTest, HoverDescribesTheOfferUnderThePointer) {
    auto* p_description = new ShopDescription;
    p_description->setPosition(vq::Vector(50, 18));
    ShopDisplay* left = offer("Scarecrow", vq::Vector(35, 10));
    ShopDisplay* right = offer("Bug Net", vq::Vector(65, 10));
    moveMouse(vq::Vector(34, 9));
    steps();
    EXPECT_EQ(cells(18, 38, 25), " Crows spawn less often. ");
    p_description->setText("unchanged");
    moveMouse(vq::Vector(36, 11));
    EXPECT_EQ(p_description->getText(), "unchanged") << "moving within the offer sends nothing";
    moveMouse(vq::Vector(50, 2));
    EXPECT_EQ(p_description->getText(), "") << "off every offer the line goes blank";
    EXPECT_FALSE(left->getHovered());
    // One move from the left offer to the right one: the left one's blank
    // arrives first, the right one's text last.
    moveMouse(vq::Vector(35, 10));
    moveMouse(vq::Vector(65, 10));
    EXPECT_EQ(p_description->getText(), "Flies spawn less often.");
    EXPECT_TRUE(right->getHovered());
}

} // namespace
