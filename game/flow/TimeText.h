#ifndef CORNFIELD_FLOW_TIMETEXT_H
#define CORNFIELD_FLOW_TIMETEXT_H

#include "hud/DisplayText.h"

// Whole seconds left in the farm day, in a frame at the top right.
class TimeText : public DisplayText {
public:
    TimeText();

    // Reads the day keeper's timer; keeps the old text when there is none.
    void update();
    int eventHandler(const vq::Event* p_e) override;
};

#endif
