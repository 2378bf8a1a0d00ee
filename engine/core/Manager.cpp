#include "core/Manager.h"

#include "core/LogManager.h"
#include "core/Object.h"
#include "core/ObjectList.h"
#include "core/WorldManager.h"

namespace vq {

Manager::Manager() : m_type(), m_is_started(false) {}

Manager::~Manager() = default;

std::string Manager::getType() const { return m_type; }

void Manager::setType(std::string type) { m_type = std::move(type); }

int Manager::startUp() {
    m_is_started = true;
    LogManager::getInstance().writeLog(1, "%s started", m_type.c_str());
    return 0;
}

int Manager::shutDown() {
    m_is_started = false;
    LogManager::getInstance().writeLog(1, "%s shut down", m_type.c_str());
    return 0;
}

bool Manager::isStarted() const { return m_is_started; }

int Manager::onEvent(const Event* p_event) const {
    // A snapshot: objects created by handlers do not receive this event.
    const ObjectList objects = WorldManager::getInstance().getAllObjects();
    int handled = 0;
    for (int i = 0; i < objects.getCount(); i++)
        handled += objects[i]->eventHandler(p_event);
    return handled;
}

} // namespace vq
