#ifndef CORNFIELD_PESTS_CROW_H
#define CORNFIELD_PESTS_CROW_H

#include "pests/Pest.h"

// Slow and tough; waits long between visits; may eat a crop back a stage.
class Crow : public Pest {
public:
    Crow();

    // 700 + 350 per Scarecrow - 25 per day, at least MIN_PEST_DELAY.
    void assignDelay() override;
    void damagePlot(Plot* p_plot) override;
};

#endif
