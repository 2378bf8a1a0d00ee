#ifndef CORNFIELD_COMMON_EVENTMODIFIERCHANGE_H
#define CORNFIELD_COMMON_EVENTMODIFIERCHANGE_H

#include <velloq/core/Event.h>

#include "common/PlotModifierType.h"

inline constexpr char MODIFIER_CHANGE_EVENT[] = "modifier_change";

// Announces the tool the player now holds (NO_MODIFIER once it is used).
class EventModifierChange : public vq::Event {
public:
    EventModifierChange();

    PlotModifierType getModifierType() const;
    void setModifierType(PlotModifierType new_modifier_type);

private:
    PlotModifierType m_modifier_type;
};

#endif
