#include "common/EventNewDay.h"

EventNewDay::EventNewDay() : m_day(0) { setType(NEW_DAY_EVENT); }
EventNewDay::EventNewDay(int init_day) : m_day(init_day) { setType(NEW_DAY_EVENT); }

int EventNewDay::getDay() const { return m_day; }
void EventNewDay::setDay(int new_day) { m_day = new_day; }
