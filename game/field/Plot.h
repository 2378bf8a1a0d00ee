#ifndef CORNFIELD_FIELD_PLOT_H
#define CORNFIELD_FIELD_PLOT_H

#include "common/PlotModifierType.h"
#include "field/FarmObject.h"

namespace vq {
class EventMouse;
class Sprite;
} // namespace vq

// One square of farmland: planted and harvested by clicks, watered and
// fertilized with the held tool, set back by pests.
class Plot : public FarmObject {
public:
    // Plots in existence; a new plot takes its grid place from it.
    static int plot_count;

    Plot();
    ~Plot() override;

    int eventHandler(const vq::Event* p_e) override;
    // Soil, then the crop over it; draws nothing while inactive.
    int draw() override;

    // Start of a farm day: empty, dry, no tool in hand (planted with Seed Drill).
    void reset();
    void pickCornSprite();
    void plant();
    void harvest();
    // 1 in 40 chance per call to set the crop back one stage.
    void crowDamage();
    // The next step adds no growth.
    void flyDamage();

    int getStage() const;
    int getGrowth() const;
    int getGrowthTarget() const;
    int getWaterTicks() const;
    bool getFertile() const;
    bool getHovered() const;
    bool getSkipGrowth() const;
    bool getModifierJustChanged() const;
    PlotModifierType getHeldModifier() const;
    // nullptr when no crop is shown.
    const vq::Sprite* getCornSprite() const;
    // Growth points the next step adds, by water, fertility and upgrades.
    int growthRate() const;

private:
    void handleMouse(const vq::EventMouse* p_mouse);
    void step();
    void drawGrowthTarget();

    bool m_hovered;
    int m_stage;
    int m_growth;
    int m_growth_target;
    vq::Sprite* m_p_corn_sprite;
    int m_water_ticks;
    bool m_fertile;
    PlotModifierType m_held_modifier;
    bool m_skip_growth;
    bool m_modifier_just_changed;
};

#endif
