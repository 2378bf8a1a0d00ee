#ifndef CORNFIELD_HUD_DAYTEXT_H
#define CORNFIELD_HUD_DAYTEXT_H

#include "hud/DisplayText.h"

// "Day n" in a frame at the top left; follows the new-day events.
class DayText : public DisplayText {
public:
    DayText();

    void update(int day);
    int eventHandler(const vq::Event* p_e) override;
};

#endif
