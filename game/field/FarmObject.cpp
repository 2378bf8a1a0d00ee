#include "field/FarmObject.h"

#include "common/EventStateChange.h"

FarmObject::FarmObject() : m_active(true) {}

bool FarmObject::getActive() const { return m_active; }

int FarmObject::eventHandler(const vq::Event* p_e) {
    if (p_e->getType() != STATE_CHANGE_EVENT)
        return 0;
    const auto* p_change = dynamic_cast<const EventStateChange*>(p_e);
    if (p_change == nullptr)
        return 0;
    m_active = p_change->getFarm();
    return 1;
}

int FarmObject::draw() {
    if (!m_active)
        return 0;
    return vq::Object::draw();
}
