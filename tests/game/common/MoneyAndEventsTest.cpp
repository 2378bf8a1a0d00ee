#include <gtest/gtest.h>

#include "common/EventDescription.h"
#include "common/EventModifierChange.h"
#include "common/EventNewDay.h"
#include "common/EventStateChange.h"
#include "common/MoneyManager.h"

namespace {

TEST(MoneyManagerTest, QuotaAndTransactions) {
    MoneyManager& money = MoneyManager::getInstance();
    money.setQuota(80);
    money.addMoney(79);
    EXPECT_FALSE(money.quotaReached());
    money.addMoney(1);
    EXPECT_TRUE(money.quotaReached());

    EXPECT_FALSE(money.attemptPerformTransaction(81));
    EXPECT_EQ(money.getMoney(), 80);
    EXPECT_TRUE(money.attemptPerformTransaction(80));
    EXPECT_EQ(money.getMoney(), 0);
    // Amounts are signed and unchecked.
    money.subtractMoney(30);
    EXPECT_FALSE(money.canAfford(0));
    EXPECT_TRUE(money.attemptPerformTransaction(-40));
    EXPECT_EQ(money.getMoney(), 10);

    money.reset();
    EXPECT_EQ(money.getMoney(), 0);
    EXPECT_EQ(money.getQuota(), 0);
}

TEST(GameEventsTest, TypesAndDefaults) {
    EXPECT_EQ(EventNewDay().getType(), "new_day_event");
    EXPECT_EQ(EventNewDay().getDay(), 0);
    EXPECT_EQ(EventNewDay(7).getType(), NEW_DAY_EVENT);
    EXPECT_EQ(EventNewDay(7).getDay(), 7);
    EXPECT_EQ(EventStateChange().getType(), "state_change");
    EXPECT_FALSE(EventStateChange().getFarm());
    EXPECT_EQ(EventDescription().getType(), "description_event");
    EXPECT_EQ(EventDescription().getDescription(), "");
    EXPECT_EQ(EventDescription("Flies spawn less often.").getType(), DESCRIPTION_EVENT);
    EXPECT_EQ(EventDescription("Flies spawn less often.").getDescription(), "Flies spawn less often.");
    EXPECT_EQ(EventModifierChange().getType(), "modifier_change");
    EXPECT_EQ(EventModifierChange().getModifierType(), NO_MODIFIER);
}

} // namespace
