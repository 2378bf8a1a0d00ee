#ifndef CORNFIELD_PESTS_FLY_H
#define CORNFIELD_PESTS_FLY_H

#include "pests/Pest.h"

// Quick and weak; turns often; stops a plot's growth for a step.
class Fly : public Pest {
public:
    Fly();

    // With Bug Spray one more point of health is lost per hit.
    void takeDamage() override;
    // 500 + 250 per Bug Net - 25 per day, at least MIN_PEST_DELAY.
    void assignDelay() override;
    void damagePlot(Plot* p_plot) override;
};

#endif
