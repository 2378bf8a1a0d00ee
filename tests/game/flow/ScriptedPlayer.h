#ifndef VQ_TESTS_GAME_FLOW_SCRIPTEDPLAYER_H
#define VQ_TESTS_GAME_FLOW_SCRIPTEDPLAYER_H

// A simple player for whole-game tests: at most one decision per step, made
// through the mouse events a person would cause.

#include "GameHarness.h"
#include "field/Plot.h"
#include "field/PlotModifier.h"
#include "pests/Pest.h"
#include "shop/ShopDisplay.h"

namespace vqtest {

struct ScriptedPlayer {
    // Uses a held tool, else picks up a lying one, else chases a pest, else
    // harvests every ripe plot and plants every empty one.
    void farmTurn() const {
        const std::vector<Plot*> plots = allOf<Plot>("Plot");
        const PlotModifierType held = plots.empty() ? NO_MODIFIER : plots.front()->getHeldModifier();
        if (held != NO_MODIFIER) {
            for (Plot* p : plots) // the pick-up click counts for nothing on the plots
                if (!p->getModifierJustChanged() && (held == WATERING_CAN ? p->getWaterTicks() <= 0 : !p->getFertile()))
                    return click(p->getPosition());
            return;
        }
        for (PlotModifier* p : allOf<PlotModifier>("PlotModifier"))
            if (p->getActive() && p->getAvailable() && !p->getHolding())
                return click(p->getPosition());
        for (const char* kind : {"Crow", "Fly"})
            for (Pest* p : allOf<Pest>(kind)) {
                const vq::Vector at = p->getPosition();
                if (p->getSpawned() && p->getHurtCountdown() == 0 && at.getX() >= 0 && at.getY() >= 0 &&
                    at.getX() <= 80 && at.getY() <= 24)
                    return click(at);
            }
        for (Plot* p : plots)
            if (work_field && (p->getStage() == 4 || p->getStage() == 0))
                click(p->getPosition());
    }

    // Buys the cheapest affordable offer not bought yet, once clicks count.
    ShopDisplay* shopTurn() const {
        ShopDisplay* p_best = nullptr;
        for (ShopDisplay* p : allOf<ShopDisplay>("ShopDisplay"))
            if (!p->getPurchased() && p->getClickDelay() == 0 &&
                p->getPrice() <= MoneyManager::getInstance().getMoney() &&
                (p_best == nullptr || p->getPrice() < p_best->getPrice()))
                p_best = p;
        if (p_best != nullptr)
            click(p_best->getPosition());
        return p_best;
    }

    bool work_field = true;
};

} // namespace vqtest

#endif
