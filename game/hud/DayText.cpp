#include "hud/DayText.h"

#include <string>

#include <velloq/core/Event.h>

#include "common/EventNewDay.h"

DayText::DayText() {
    setType("DayText");
    setPosition(vq::Vector(8, 1));
    setBorder(true);
    setText("Day 1");
}

void DayText::update(int day) { setText("Day " + std::to_string(day)); }

int DayText::eventHandler(const vq::Event* p_e) {
    if (p_e->getType() != NEW_DAY_EVENT)
        return 0;
    const auto* p_new_day = dynamic_cast<const EventNewDay*>(p_e);
    if (p_new_day == nullptr)
        return 0;
    update(p_new_day->getDay());
    return 1;
}
