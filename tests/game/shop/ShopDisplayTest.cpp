// The shop's offers and description line, driven with mouse events.

#include <gtest/gtest.h>

#include "../hud/GameHarness.h"
#include "core/Geometry.h"
#include "shop/ShopDescription.h"
#include "shop/ShopDisplay.h"

using cftest::click;
using cftest::moveMouse;
using cftest::screenRow;
using cftest::steps;
using cftest::timesPlayed;

namespace {

Upgrade treeUpgrade(const std::string& name) {
    for (const Upgrade& u : upgrade_tree)
        if (u.name == name)
            return u;
    ADD_FAILURE() << "no upgrade " << name;
    return emptyUpgrade();
}

class ShopDisplayTest : public cftest::GameTest {
protected:
    // An offer at (35, 10) that accepts clicks already.
    ShopDisplay* readyDisplay(const std::string& name, vq::Vector at = vq::Vector(35, 10)) {
        auto* p_display = new ShopDisplay(treeUpgrade(name));
        p_display->setPosition(at);
        steps(ShopDisplay::CLICK_DELAY);
        return p_display;
    }
};

TEST_F(ShopDisplayTest, ShowsNameAboveAndPriceBelowTheBox) {
    auto* p_display = new ShopDisplay(treeUpgrade("Fertilizer"));
    p_display->setPosition(vq::Vector(50, 13));
    EXPECT_EQ(p_display->getType(), "ShopDisplay");
    EXPECT_EQ(p_display->getPrice(), 300);
    steps(1);

    EXPECT_NE(screenRow(9).find("Fertilizer"), std::string::npos);
    EXPECT_EQ(screenRow(10).substr(45, 10), "+--------+");
    EXPECT_EQ(screenRow(15).substr(45, 10), "+--------+");
    EXPECT_EQ(screenRow(12)[45], '|');
    EXPECT_EQ(screenRow(12)[54], '|');
    EXPECT_NE(screenRow(16).find("$300"), std::string::npos);
    // The picture fills part of the inside.
    EXPECT_NE(screenRow(12).substr(46, 8).find_first_not_of(' '), std::string::npos) << screenRow(12);
}

TEST_F(ShopDisplayTest, ClicksAreLockedForTheFirstSixtySteps) {
    MoneyManager::getInstance().addMoney(1000);
    auto* p_display = new ShopDisplay(treeUpgrade("Blue Corn"));
    p_display->setPosition(vq::Vector(35, 10));

    steps(ShopDisplay::CLICK_DELAY - 1);
    click(vq::Vector(35, 10));
    EXPECT_FALSE(p_display->getPurchased());
    EXPECT_EQ(MoneyManager::getInstance().getMoney(), 1000);
    EXPECT_TRUE(cftest::playedSounds().empty());
    EXPECT_TRUE(p_display->getHovered()) << "a locked click still updates the hover state";

    steps(1);
    click(vq::Vector(35, 10));
    EXPECT_TRUE(p_display->getPurchased());
}

TEST_F(ShopDisplayTest, BuyingTakesThePriceOnceAndShowsPurchased) {
    MoneyManager::getInstance().addMoney(350);
    auto* p_display = readyDisplay("Scarecrow");

    click(vq::Vector(35, 10));
    EXPECT_TRUE(p_display->getPurchased());
    EXPECT_EQ(MoneyManager::getInstance().getMoney(), 150);
    EXPECT_EQ(UpgradeManager::getInstance().getPurchaseCount("Scarecrow"), 1);
    EXPECT_EQ(timesPlayed("shop_success"), 1);
    steps(1);
    EXPECT_NE(screenRow(13).find("Purchased"), std::string::npos);
    EXPECT_EQ(screenRow(13).find("$200"), std::string::npos);

    // Repeatable, but one purchase per display and visit; no sound either.
    MoneyManager::getInstance().addMoney(1000);
    click(vq::Vector(35, 10));
    EXPECT_EQ(UpgradeManager::getInstance().getPurchaseCount("Scarecrow"), 1);
    EXPECT_EQ(MoneyManager::getInstance().getMoney(), 1150);
    EXPECT_EQ(cftest::playedSounds().size(), 1u);
}

TEST_F(ShopDisplayTest, AFailedPurchaseCanBeTriedAgain) {
    MoneyManager::getInstance().addMoney(99);
    auto* p_display = readyDisplay("Blue Corn");

    click(vq::Vector(35, 10));
    EXPECT_FALSE(p_display->getPurchased());
    EXPECT_EQ(MoneyManager::getInstance().getMoney(), 99);
    EXPECT_EQ(timesPlayed("shop_fail"), 1);

    MoneyManager::getInstance().addMoney(1);
    click(vq::Vector(35, 10));
    EXPECT_TRUE(p_display->getPurchased());
    EXPECT_EQ(MoneyManager::getInstance().getMoney(), 0);
    EXPECT_EQ(timesPlayed("shop_success"), 1);
}

TEST_F(ShopDisplayTest, TheWholeBoxIsClickableEdgesIncluded) {
    MoneyManager::getInstance().addMoney(10000);
    auto* p_left = readyDisplay("Scarecrow", vq::Vector(35, 10));
    const vq::Box box = vq::getWorldBox(p_left);
    EXPECT_FLOAT_EQ(box.getCorner().getX(), 30.0f);
    EXPECT_FLOAT_EQ(box.getCorner().getY(), 7.0f);
    EXPECT_FLOAT_EQ(box.getHorizontal(), 10.0f);
    EXPECT_FLOAT_EQ(box.getVertical(), 6.0f);

    click(vq::Vector(40.01f, 13));
    click(vq::Vector(35, 6.99f));
    EXPECT_FALSE(p_left->getPurchased()) << "just outside";
    click(vq::Vector(40, 13));
    EXPECT_TRUE(p_left->getPurchased()) << "bottom-right corner";

    auto* p_right = readyDisplay("Bug Net", vq::Vector(65, 10));
    click(vq::Vector(60, 7));
    EXPECT_TRUE(p_right->getPurchased()) << "top-left corner";
}

TEST_F(ShopDisplayTest, HoverDescribesTheOfferUnderThePointer) {
    auto* p_description = new ShopDescription;
    p_description->setPosition(vq::Vector(50, 18));
    auto* p_left = readyDisplay("Scarecrow", vq::Vector(35, 10));
    auto* p_right = readyDisplay("Bug Net", vq::Vector(65, 10));
    EXPECT_EQ(p_description->getText(), "");

    moveMouse(vq::Vector(34, 9));
    EXPECT_EQ(p_description->getText(), "Crows spawn less often.");
    EXPECT_TRUE(p_left->getHovered());
    steps(1);
    EXPECT_NE(screenRow(18).find("Crows spawn less often."), std::string::npos);

    // Moving within the offer sends nothing.
    p_description->setText("unchanged");
    moveMouse(vq::Vector(36, 11));
    EXPECT_EQ(p_description->getText(), "unchanged");

    moveMouse(vq::Vector(50, 2));
    EXPECT_EQ(p_description->getText(), "") << "off every offer the line goes blank";
    EXPECT_FALSE(p_left->getHovered());

    moveMouse(vq::Vector(65, 10));
    EXPECT_EQ(p_description->getText(), "Flies spawn less often.");
    // One move from the left offer to the right one: the left one's blank
    // arrives first, the right one's text last.
    moveMouse(vq::Vector(35, 10));
    moveMouse(vq::Vector(65, 10));
    EXPECT_EQ(p_description->getText(), "Flies spawn less often.");
    EXPECT_TRUE(p_right->getHovered());
    EXPECT_FALSE(p_left->getHovered());
}

} // namespace
