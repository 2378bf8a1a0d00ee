#include "common/EventDescription.h"

EventDescription::EventDescription() : m_description("") { setType(DESCRIPTION_EVENT); }
EventDescription::EventDescription(std::string init_description) : m_description(std::move(init_description)) {
    setType(DESCRIPTION_EVENT);
}

std::string EventDescription::getDescription() const { return m_description; }
void EventDescription::setDescription(std::string new_description) { m_description = std::move(new_description); }
