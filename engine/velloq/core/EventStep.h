#ifndef VQ_CORE_EVENTSTEP_H
#define VQ_CORE_EVENTSTEP_H

#include <velloq/core/Event.h>

namespace vq {

// Sent to every object once per game loop iteration.
class EventStep : public Event {
public:
    EventStep();
    explicit EventStep(int init_step_count);

    void setStepCount(int new_step_count);
    int getStepCount() const;

private:
    int m_step_count;
};

} // namespace vq

#endif
