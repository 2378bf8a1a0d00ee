#include "flow/TimeText.h"

#include <string>

#include <velloq/core/Event.h>
#include <velloq/display/DisplayManager.h>
#include <velloq/world/ObjectList.h>
#include <velloq/world/WorldManager.h>

#include "flow/DayKeeper.h"

namespace {
const int STEPS_PER_SECOND = 30;
}

TimeText::TimeText() {
    setType("TimeText");
    const float horizontal = static_cast<float>(vq::DisplayManager::getInstance().getHorizontal());
    setPosition(vq::Vector(horizontal - 8, 1));
    setBorder(true);
}

void TimeText::update() {
    const vq::ObjectList keepers = vq::WorldManager::getInstance().objectsOfType("DayKeeper");
    if (keepers.isEmpty())
        return;
    const auto* p_keeper = dynamic_cast<const DayKeeper*>(keepers[0]);
    if (p_keeper == nullptr)
        return;
    // Rounded up, so the last step of a day still reads 1.
    const int seconds = (p_keeper->getTicksLeft() + STEPS_PER_SECOND - 1) / STEPS_PER_SECOND;
    setText(std::to_string(seconds));
}

int TimeText::eventHandler(const vq::Event* p_e) {
    if (p_e->getType() != vq::STEP_EVENT)
        return 0;
    update();
    return 1;
}
