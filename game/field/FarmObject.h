#ifndef CORNFIELD_FIELD_FARMOBJECT_H
#define CORNFIELD_FIELD_FARMOBJECT_H

#include <velloq/world/Object.h>

// Base of everything that belongs to the farm (plots, tools, pests): inactive,
// and so neither drawn nor interactive, while the shop is open.
class FarmObject : public vq::Object {
public:
    FarmObject();

    bool getActive() const;

    // Takes the farm flag of a state change (returns 1); ignores the rest.
    int eventHandler(const vq::Event* p_e) override;
    // Draws the sprite only while active.
    int draw() override;

private:
    bool m_active;
};

#endif
