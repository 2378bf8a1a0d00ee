#ifndef VQ_CORE_MANAGER_H
#define VQ_CORE_MANAGER_H

#include <string>

namespace vq {

class Event;

// Base of the engine's singleton services. Each derived manager does its own
// start-up work first and calls Manager::startUp last, only when that worked.
class Manager {
public:
    Manager();
    virtual ~Manager();
    Manager(const Manager&) = delete;
    Manager& operator=(const Manager&) = delete;

    std::string getType() const;

    // 0 on success, -1 on failure.
    virtual int startUp();
    virtual int shutDown();

    bool isStarted() const;

    // Delivers the event to every object in the world, in world order, and
    // returns how many handlers acted on it.
    int onEvent(const Event* p_event) const;

protected:
    void setType(std::string type);

    // The world sits above the managers, so it tells them how to reach its
    // objects when it is made; until then there are none to reach.
    using EventDelivery = int (*)(const Event* p_event);
    static void setEventDelivery(EventDelivery deliver);

private:
    std::string m_type;
    bool m_is_started;
};

} // namespace vq

#endif
