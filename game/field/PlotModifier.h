#ifndef CORNFIELD_FIELD_PLOTMODIFIER_H
#define CORNFIELD_FIELD_PLOTMODIFIER_H

#include "common/PlotModifierType.h"
#include "field/FarmObject.h"

// A pick-up tool (watering can or fertilizer bag) that shows up at random
// places from time to time and is picked up with a click.
class PlotModifier : public FarmObject {
public:
    // Only WATERING_CAN and FERTILIZER.
    explicit PlotModifier(PlotModifierType type);

    // Somewhere in the field area of the display.
    void setRandomPos();

    int eventHandler(const vq::Event* p_e) override;
    // Drawn only while active and lying on the field.
    int draw() override;

    PlotModifierType getModifierType() const;
    bool getHovered() const;
    bool getAvailable() const;
    bool getHolding() const;
    int getRespawnTimer() const;

private:
    // Steps until the next appearance after a pick-up; at least 1.
    int waitAfterPickUp() const;

    PlotModifierType m_modifier_type;
    bool m_hovered;
    bool m_available;
    int m_respawn_timer;
    bool m_holding;
};

#endif
