#ifndef CORNFIELD_FLOW_DAYKEEPER_H
#define CORNFIELD_FLOW_DAYKEEPER_H

#include <velloq/world/Object.h>

// Runs the game: starts it on SPACE at the title screen, times each farm day,
// checks the quota when the day ends and switches between title screen, farm
// and shop. Q quits from anywhere. Invisible; lives for the whole run.
class DayKeeper : public vq::Object {
public:
    static constexpr int DAY_LENGTH = 1800;
    static constexpr int START_PLOTS = 10;
    static constexpr int PLOTS_PER_FIELD_WORK = 3;
    static constexpr int SHOP_OFFERS = 3;

    DayKeeper();

    // Day and timer to 0, no game running; money, quota and upgrades cleared.
    void reset();
    int getDay() const;
    bool isStarted() const;
    void startDay();
    int getTicksLeft() const;
    bool isDayActive() const;
    // Next day number, announced to everyone, and its quota.
    void incrementDay();
    void swapToShop();
    void swapToFarm();
    // Counts the day down and settles it on its last step.
    void step();

    int eventHandler(const vq::Event* p_e) override;
    int draw() override;

    // Money needed at the end of day `day` (1-based): 50, 80, 120, 170, ...
    static int quotaForDay(int day);

private:
    void startGame();
    void loseGame();

    int m_day;
    int m_ticks_left;
    bool m_day_active;
    bool m_started;
};

#endif
