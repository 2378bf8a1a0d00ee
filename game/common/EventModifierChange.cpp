#include "common/EventModifierChange.h"

EventModifierChange::EventModifierChange() : m_modifier_type(NO_MODIFIER) { setType(MODIFIER_CHANGE_EVENT); }

PlotModifierType EventModifierChange::getModifierType() const { return m_modifier_type; }
void EventModifierChange::setModifierType(PlotModifierType new_modifier_type) { m_modifier_type = new_modifier_type; }
