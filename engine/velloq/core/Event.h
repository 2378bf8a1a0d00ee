#ifndef VQ_CORE_EVENT_H
#define VQ_CORE_EVENT_H

#include <string>

namespace vq {

// Engine event type names. Handlers tell events apart by these strings.
// Plain character arrays: one definition for the whole program, nothing to
// construct at start-up, and they compare with the std::string of getType().
inline constexpr char UNDEFINED_EVENT[] = "vq::undefined";
inline constexpr char STEP_EVENT[] = "vq::step";
inline constexpr char COLLISION_EVENT[] = "vq::collision";
inline constexpr char OUT_EVENT[] = "vq::out";
inline constexpr char KEYBOARD_EVENT[] = "vq::keyboard";
inline constexpr char MOUSE_EVENT[] = "vq::mouse";
// The same text under a second name.
inline constexpr const char* MSE_EVENT = MOUSE_EVENT;

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
