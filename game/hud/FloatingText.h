#ifndef CORNFIELD_HUD_FLOATINGTEXT_H
#define CORNFIELD_HUD_FLOATINGTEXT_H

#include "hud/DisplayText.h"

// A short text that rises a quarter of a cell per step and removes itself
// after 15 steps (the "+$10" over a harvested plot).
class FloatingText : public DisplayText {
public:
    FloatingText();

    void step();
    int eventHandler(const vq::Event* p_e) override;

private:
    int m_lifetime;
};

#endif
