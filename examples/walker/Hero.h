#ifndef WALKER_HERO_H
#define WALKER_HERO_H

#include <velloq/core/Event.h>
#include <velloq/core/Vector.h>
#include <velloq/world/Object.h>

// The '@' the player walks with the arrow keys, one cell per press. It counts
// how often it bumps into a wall, shows the count at the top of the screen and
// ends the game on Q.
class Hero : public vq::Object {
public:
    explicit Hero(vq::Vector position);

    int eventHandler(const vq::Event* p_e) override;
    int draw() override;

private:
    void walk(vq::Vector step);

    int m_bumps;
};

#endif
