#ifndef VQ_CORE_EVENT_H
#define VQ_CORE_EVENT_H

#include <string>

namespace vq {

// Engine event type names. Handlers tell events apart by these strings.
const std::string UNDEFINED_EVENT = "vq::undefined";
const std::string STEP_EVENT = "vq::step";
const std::string COLLISION_EVENT = "vq::collision";
const std::string OUT_EVENT = "vq::out";
const std::string KEYBOARD_EVENT = "vq::keyboard";
const std::string MOUSE_EVENT = "vq::mouse";
const std::string MSE_EVENT = MOUSE_EVENT;

// Base of all events. Events belong to their sender and live only for the
// delivery; handlers must not keep the pointer.
class Event {
public:
    Event();
    virtual ~Event();

    void setType(std::string new_type);
    std::string getType() const;

private:
    std::string m_event_type;
};

} // namespace vq

#endif
