#include <velloq/core/Manager.h>

#include <velloq/core/LogManager.h>

namespace vq {

namespace {
int (*g_deliver_event)(const Event* p_event) = nullptr;
}

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

void Manager::setEventDelivery(EventDelivery deliver) { g_deliver_event = deliver; }

int Manager::onEvent(const Event* p_event) const { return g_deliver_event != nullptr ? g_deliver_event(p_event) : 0; }

} // namespace vq
