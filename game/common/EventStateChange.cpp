#include "common/EventStateChange.h"

EventStateChange::EventStateChange() : m_farm(false) { setType(STATE_CHANGE_EVENT); }

bool EventStateChange::getFarm() const { return m_farm; }
void EventStateChange::setFarm(bool new_farm) { m_farm = new_farm; }
