#ifndef CORNFIELD_PESTS_PEST_H
#define CORNFIELD_PESTS_PEST_H

#include <string>

#include "field/FarmObject.h"

class Plot;

// Smallest base wait a pest can get, however late in the game.
const int MIN_PEST_DELAY = 10;

// b + (rand() mod b) / 2.0, truncated: at least b, below 1.5 b.
int randomWait(int base);

// What crows and flies share: hidden/out cycle, wandering, bouncing off the
// window edges, hits from clicks with a short hurt state, and harming plots.
class Pest : public FarmObject {
public:
    Pest();

    int eventHandler(const vq::Event* p_e) override;
    // Drawn only while active and out on the field.
    int draw() override;

    // One hit from a click.
    virtual void takeDamage();
    // Recomputes the base wait from the day and upgrades; empty here.
    virtual void assignDelay();
    // Plays the plot-hit sound; kinds harm the plot first.
    virtual void damagePlot(Plot* p_plot);

    // Reflects the velocity at the window edges.
    void bounce();

    int getDelay() const;
    void setDelay(int new_delay);
    int getJitter() const;
    void setJitter(int new_jitter);
    int getMaxHealth() const;
    void setMaxHealth(int new_max_health);

    bool getHovered() const;
    bool getSpawned() const;
    int getSpawnCountdown() const;
    int getJitterCountdown() const;
    int getHurtCountdown() const;
    int getLifetime() const;
    int getHealth() const;
    int getDay() const;
    std::string getSpriteName() const;
    std::string getDamagedSpriteName() const;

protected:
    void setHealth(int new_health);
    void setSpriteName(std::string name);
    void setDamagedSpriteName(std::string name);

private:
    void step();
    void comeOut();
    void hide();
    void turnRandomly();

    bool m_hovered;
    bool m_spawned;
    int m_delay;
    int m_spawn_countdown;
    int m_jitter;
    int m_jitter_countdown;
    int m_max_health;
    int m_hurt_countdown;
    int m_lifetime;
    int m_health;
    int m_day;
    std::string m_sprite_name;
    std::string m_damaged_sprite_name;
};

#endif
