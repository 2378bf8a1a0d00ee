#ifndef CORNFIELD_HUD_MONEYTEXT_H
#define CORNFIELD_HUD_MONEYTEXT_H

#include "hud/DisplayText.h"

// "$money / $quota" in a frame in the middle of the top row, refreshed from
// the money manager every step.
class MoneyText : public DisplayText {
public:
    MoneyText();

    void update(int money, int quota);
    int eventHandler(const vq::Event* p_e) override;
};

#endif
