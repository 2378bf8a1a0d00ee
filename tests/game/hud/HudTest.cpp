// Boxes, text lines and the status texts, read from the screen.

#include <gtest/gtest.h>

#include "GameHarness.h"
#include "common/EventNewDay.h"
#include "flow/DayKeeper.h"
#include "flow/TimeText.h"
#include "hud/DayText.h"
#include "hud/DisplayBox.h"
#include "hud/DisplayText.h"
#include "hud/FloatingText.h"
#include "hud/MoneyText.h"

using namespace vqtest;

namespace {

using HudTest = GameTest;

TEST_F(HudTest, BoxesAndTextLinesOnTheGrid) {
    (new DisplayText("XXXXXXXXXXXX", vq::Vector(50, 12), false))->setAltitude(2); // below the box
    new DisplayBox(vq::Vector(50, 13), 10, 6);
    new DisplayBox(vq::Vector(10, 5), 1, 1);  // one cell, half a cell off the grid
    new DisplayBox(vq::Vector(30, 10), 0, 4); // nothing
    new DisplayText("Hello, farm", vq::Vector(40, 20), true);
    new DisplayText("abc", vq::Vector(10, 16), false);
    auto* p_floating = new FloatingText;
    p_floating->setText("+$10");
    p_floating->setPosition(vq::Vector(70, 12));
    steps();
    const char* const rows[] = {" +--------+ ", " |        | ", "X|        |X",
                                " |        | ", " |        | ", " +--------+ "};
    for (int row = 10; row <= 15; row++)
        EXPECT_EQ(cells(row, 44, 12), rows[row - 10]) << row;
    EXPECT_EQ(cells(9, 0, 80) + cells(16, 30, 50), std::string(130, ' '));
    const std::vector<vq::DrawnCharacter> frame = vq::DisplayManager::getInstance().getLastFrame();
    EXPECT_EQ(
        std::count_if(frame.begin(), frame.end(),
                      [](const vq::DrawnCharacter& c) { return c.ch == '+' && c.position == vq::Vector(9.5f, 4.5f); }),
        1);
    EXPECT_EQ(cells(19, 34, 13) + cells(20, 34, 13) + cells(21, 34, 13),
              "  --------   " + std::string(" Hello, farm ") + "  --------   ");
    EXPECT_EQ(cells(15, 6, 8) + cells(16, 6, 8) + cells(17, 6, 8), "        "
                                                                   "   abc  "
                                                                   "        ")
        << "no border";

    EXPECT_EQ(cells(12, 68, 4), "+$10") << "drawn where it stands after its first move";
    EXPECT_FLOAT_EQ(p_floating->getPosition().getY(), 11.75f);
    steps(13);
    EXPECT_FLOAT_EQ(p_floating->getPosition().getY(), 12.0f - 14 * 0.25f);
    steps();
    EXPECT_EQ(countOf("FloatingText"), 0) << "gone on the fifteenth step";
}

TEST_F(HudTest, TopRowShowsDayMoneyAndSecondsLeftRoundedUp) {
    auto* p_time = new TimeText;
    steps();
    EXPECT_EQ(p_time->getText(), "") << "no day keeper: the text stays as it was";
    auto* p_keeper = new DayKeeper; // after the text, which reads the timer before it ticks
    new MoneyText;
    new DayText;
    MoneyManager::getInstance().setQuota(50);
    steps();
    EXPECT_EQ(p_time->getText(), "0") << "between days";
    p_keeper->startDay();
    steps();
    const std::string gap(24, ' ');
    for (int row : {0, 2})
        EXPECT_EQ(cells(row, 4, 72), "--------" + gap + "--------" + gap + "--------");
    EXPECT_EQ(cells(1, 4, 72), "  Day 1 " + gap + "$0 / $50" + gap + "   60   ");
    steps(29);
    EXPECT_EQ(p_time->getText(), "60") << "read at 1771 steps left";
    steps();
    EXPECT_EQ(cells(1, 70, 4), " 59 ");
    send(EventNewDay(7));
    MoneyManager::getInstance().addMoney(35);
    steps();
    EXPECT_EQ(cells(1, 4, 41), "  Day 7 " + gap + "$35 / $50");
    MoneyManager::getInstance().subtractMoney(40);
    MoneyManager::getInstance().setQuota(80);
    steps();
    EXPECT_EQ(cells(1, 36, 9), "$-5 / $80");
    steps(p_keeper->getTicksLeft());
    EXPECT_FALSE(p_keeper->isDayActive());
    EXPECT_EQ(p_time->getText(), "1") << "on the last step of the day";
}

} // namespace
