#ifndef CORNFIELD_COMMON_EVENTSTATECHANGE_H
#define CORNFIELD_COMMON_EVENTSTATECHANGE_H

#include <velloq/core/Event.h>

inline constexpr char STATE_CHANGE_EVENT[] = "state_change";

// Broadcast on every switch between farm (true) and shop (false).
class EventStateChange : public vq::Event {
public:
    EventStateChange();

    bool getFarm() const;
    void setFarm(bool new_farm);

private:
    bool m_farm;
};

#endif
