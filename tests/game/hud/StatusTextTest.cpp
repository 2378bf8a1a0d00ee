// The top-row status texts and the quota-met picture.

#include <gtest/gtest.h>

#include "GameHarness.h"
#include "common/EventNewDay.h"
#include "core/EventStep.h"
#include "flow/DayKeeper.h"
#include "flow/TimeText.h"
#include "hud/DayText.h"
#include "hud/MoneyText.h"
#include "hud/QuotaMetText.h"

using cftest::screenRow;
using cftest::steps;
using vqtest::spriteLabel;

namespace {

class StatusTextTest : public cftest::GameTest {};

TEST_F(StatusTextTest, TopRowShowsDayMoneyAndTimeInFrames) {
    auto* p_keeper = new DayKeeper;
    new TimeText;
    new MoneyText;
    new DayText;
    MoneyManager::getInstance().setQuota(50);
    p_keeper->startDay();
    steps(1);

    const std::string top = screenRow(1);
    EXPECT_NE(top.find("Day 1"), std::string::npos) << top;
    EXPECT_NE(top.find("$0 / $50"), std::string::npos) << top;
    EXPECT_NE(top.find("60"), std::string::npos) << top;
    // Each text has its dash lines above and below: around x = 8, 40 and 72.
    for (int row : {0, 2})
        for (int centre : {8, 40, 72})
            EXPECT_EQ(screenRow(row).substr(static_cast<size_t>(centre - 4), 8), "--------")
                << "row " << row << " around " << centre;
    // Left, middle and right, in that order.
    EXPECT_LT(top.find("Day 1"), top.find("$0 / $50"));
    EXPECT_LT(top.find("$0 / $50"), top.find("60"));
}

TEST_F(StatusTextTest, DayTextFollowsNewDayEvents) {
    auto* p_day = new DayText;
    EXPECT_EQ(p_day->getText(), "Day 1");
    const EventNewDay day7(7);
    EXPECT_EQ(p_day->eventHandler(&day7), 1);
    EXPECT_EQ(p_day->getText(), "Day 7");
    const EventNewDay day1(1);
    vq::WorldManager::getInstance().onEvent(&day1);
    EXPECT_EQ(p_day->getText(), "Day 1") << "a new game shows day 1 again";
    const vq::EventStep step;
    EXPECT_EQ(p_day->eventHandler(&step), 0);
}

TEST_F(StatusTextTest, MoneyTextReadsTheManagerEveryStep) {
    MoneyManager& money = MoneyManager::getInstance();
    money.addMoney(35);
    money.setQuota(50);
    auto* p_money = new MoneyText;
    EXPECT_EQ(p_money->getText(), "$35 / $50") << "filled in at construction";

    money.addMoney(85);
    money.setQuota(80);
    EXPECT_EQ(p_money->getText(), "$35 / $50") << "only a step refreshes it";
    steps(1);
    EXPECT_EQ(p_money->getText(), "$120 / $80");

    money.subtractMoney(125);
    steps(1);
    EXPECT_EQ(p_money->getText(), "$-5 / $80");
    EXPECT_NE(screenRow(1).find("$-5 / $80"), std::string::npos);

    const EventNewDay other;
    EXPECT_EQ(p_money->eventHandler(&other), 0);
}

TEST_F(StatusTextTest, TimeTextCountsWholeSecondsRoundedUp) {
    auto* p_time = new TimeText;
    steps(1);
    EXPECT_EQ(p_time->getText(), "") << "no day keeper: the text stays as it was";

    // Made after the time text, so the text reads the timer before it ticks.
    auto* p_keeper = new DayKeeper;
    steps(1);
    EXPECT_EQ(p_time->getText(), "0") << "between days";

    p_keeper->startDay();
    steps(1);
    EXPECT_EQ(p_time->getText(), "60");
    steps(29);
    EXPECT_EQ(p_keeper->getTicksLeft(), 1770);
    EXPECT_EQ(p_time->getText(), "60") << "it read 1771 steps: still 60 started seconds";
    steps(1);
    EXPECT_EQ(p_time->getText(), "59");

    vq::WorldManager::getInstance().markForDelete(p_keeper);
    steps(2);
    EXPECT_EQ(p_time->getText(), "59") << "the last text stays when the keeper is gone";
}

TEST_F(StatusTextTest, TimeTextShowsOneOnTheLastStepOfTheDay) {
    auto* p_keeper = new DayKeeper;
    auto* p_time = new TimeText;
    p_keeper->startDay();
    steps(DayKeeper::DAY_LENGTH - 1);
    EXPECT_EQ(p_keeper->getTicksLeft(), 1);
    EXPECT_EQ(p_time->getText(), "1");
}

TEST_F(StatusTextTest, QuotaMetPictureStaysSixtySteps) {
    auto* p_quota = new QuotaMetText;
    EXPECT_EQ(spriteLabel(p_quota), "text_passed");
    EXPECT_FLOAT_EQ(p_quota->getPosition().getX(), 40.0f);
    EXPECT_FLOAT_EQ(p_quota->getPosition().getY(), 12.0f);
    EXPECT_EQ(p_quota->getSolidness(), vq::GHOST);
    EXPECT_EQ(p_quota->getAltitude(), 3);

    steps(1);
    EXPECT_NE(screenRow(12).find_first_not_of(' '), std::string::npos) << "the picture covers the middle";
    steps(58);
    EXPECT_EQ(cftest::countOfType(p_quota->getType()), 1) << "still shown after 59 steps";
    steps(1);
    EXPECT_EQ(cftest::objectCount(), 0) << "gone after 60 steps";
    steps(1);
    EXPECT_EQ(screenRow(12).find_first_not_of(' '), std::string::npos);
}

} // namespace
