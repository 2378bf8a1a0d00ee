// The shop's offers and description line, driven with mouse events and read
// from the screen.

#include <gtest/gtest.h>

#include "GameHarness.h"
#include "shop/ShopDescription.h"
#include "shop/ShopDisplay.h"

using namespace vqtest;

namespace {

// An offer from the catalogue, standing at `at`, after `wait` steps.
ShopDisplay* offer(const std::string& name, vq::Vector at, int wait = ShopDisplay::CLICK_DELAY) {
    Upgrade upgrade;
    for (const Upgrade& u : upgrade_tree)
        upgrade = u.name == name ? u : upgrade;
    auto* p_display = new ShopDisplay(upgrade);
    p_display->setPosition(at);
    steps(wait);
    return p_display;
}

using ShopTest = GameTest;

TEST_F(ShopTest, AnOfferShowsItsPictureNameAndPriceAndSellsOnceAfterSixtySteps) {
    MoneyManager::getInstance().addMoney(299);
    ShopDisplay* p = offer("Fertilizer", vq::Vector(50, 13), ShopDisplay::CLICK_DELAY - 1);
    EXPECT_EQ(cells(9, 45, 10) + cells(10, 45, 10) + cells(15, 45, 10) + cells(16, 47, 6),
              "Fertilizer+--------++--------+ $300 ");
    EXPECT_TRUE(showsPicture("upg-fertilizer", vq::Vector(50, 13)));
    click(vq::Vector(50, 13));
    EXPECT_TRUE(playedSounds().empty()) << "clicks count only after sixty steps";
    EXPECT_TRUE(p->getHovered()) << "a click too early still hovers";
    steps();
    click(vq::Vector(50, 13));
    EXPECT_EQ(money(), 299);
    EXPECT_EQ(timesPlayed("shop_fail"), 1);
    MoneyManager::getInstance().addMoney(701); // may be tried again
    click(vq::Vector(50, 13));
    EXPECT_EQ(money(), 700);
    EXPECT_EQ(timesPlayed("shop_success"), 1);
    steps();
    EXPECT_EQ(cells(16, 45, 10), " Purchased");
    click(vq::Vector(50, 13)); // one purchase per offer and visit, silently
    EXPECT_EQ(money(), 700);
    EXPECT_EQ(playedSounds().size(), 2u);
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
    // One move from the left offer to the right one: the left one's blank
    // arrives first, the right one's text last.
    moveMouse(vq::Vector(35, 10));
    moveMouse(vq::Vector(65, 10));
    EXPECT_EQ(p_description->getText(), "Flies spawn less often.");
    EXPECT_TRUE(right->getHovered() && !left->getHovered());
}

} // namespace
