#ifndef CORNFIELD_FIELD_RETICLE_H
#define CORNFIELD_FIELD_RETICLE_H

#include <velloq/display/Color.h>
#include <velloq/world/Object.h>

#include "common/PlotModifierType.h"

// The mouse cursor: a "+" that follows the pointer, coloured by the held tool.
class Reticle : public vq::Object {
public:
    Reticle();

    int eventHandler(const vq::Event* p_e) override;
    int draw() override;

    PlotModifierType getHeldModifier() const;
    // CYAN for the can, RED for the fertilizer, WHITE with empty hands.
    vq::Color getColor() const;

private:
    PlotModifierType m_held_modifier;
};

#endif
