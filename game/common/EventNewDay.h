#ifndef CORNFIELD_COMMON_EVENTNEWDAY_H
#define CORNFIELD_COMMON_EVENTNEWDAY_H

#include <velloq/core/Event.h>

inline constexpr char NEW_DAY_EVENT[] = "new_day_event";

// Broadcast when a day begins: day 1 when a game starts, then the next day's
// number each time the shop opens.
class EventNewDay : public vq::Event {
public:
    EventNewDay();
    explicit EventNewDay(int init_day);
    int getDay() const;
    void setDay(int new_day);

private:
    int m_day;
};

#endif
