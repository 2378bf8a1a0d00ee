#ifndef VQ_WORLD_EVENTOUT_H
#define VQ_WORLD_EVENTOUT_H

#include <velloq/core/Event.h>

namespace vq {

// Sent to an object whose move ended outside the display's grid.
class EventOut : public Event {
public:
    EventOut();
};

} // namespace vq

#endif
