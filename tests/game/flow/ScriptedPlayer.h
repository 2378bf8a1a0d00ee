#ifndef CORNFIELD_TESTS_SCRIPTEDPLAYER_H
#define CORNFIELD_TESTS_SCRIPTEDPLAYER_H

// A simple player for whole-game tests: it makes at most one decision per
// step, through the same mouse and keyboard events a person would cause.

#include <algorithm>
#include <climits>
#include <vector>

#include "../hud/GameHarness.h"
#include "field/Plot.h"
#include "field/PlotModifier.h"
#include "field/Reticle.h"
#include "flow/DayKeeper.h"
#include "pests/Pest.h"
#include "shop/ShopDisplay.h"

namespace cftest {

class ScriptedPlayer {
public:
    // What the player did in its last turn.
    enum Action { NOTHING, USED_TOOL, PICKED_UP_TOOL, HIT_PEST, WORKED_FIELD };

    // One turn on the farm: use a held tool, else pick up a lying tool, else
    // chase an out pest, else harvest every ripe plot and plant every empty one.
    Action farmTurn() {
        const std::vector<Plot*> plots = allOfType<Plot>("Plot");
        if (plots.empty())
            return NOTHING;
        const PlotModifierType held = plots.front()->getHeldModifier();
        if (held != NO_MODIFIER) {
            // The click that picked it up counts for nothing on the plots.
            if (plots.front()->getModifierJustChanged())
                return NOTHING;
            for (Plot* p : plots) {
                const bool takes = held == WATERING_CAN ? p->getWaterTicks() <= 0 : !p->getFertile();
                if (takes) {
                    click(p->getPosition());
                    return USED_TOOL;
                }
            }
            return NOTHING;
        }
        if (m_use_tools)
            for (PlotModifier* p : allOfType<PlotModifier>("PlotModifier"))
                if (p->getActive() && p->getAvailable() && !p->getHolding()) {
                    click(p->getPosition());
                    return PICKED_UP_TOOL;
                }
        for (const char* kind : {"Crow", "Fly"})
            for (Pest* p : allOfType<Pest>(kind))
                if (p->getActive() && p->getSpawned() && p->getHurtCountdown() == 0 && onScreen(p)) {
                    click(p->getPosition());
                    return HIT_PEST;
                }
        if (!m_work_field)
            return NOTHING;
        bool worked = false;
        for (Plot* p : plots) {
            if (p->getStage() == 4 || p->getStage() == 0) {
                click(p->getPosition());
                worked = true;
            }
        }
        return worked ? WORKED_FIELD : NOTHING;
    }

    // One turn in the shop, once clicks are accepted: buys the cheapest
    // affordable offer not bought yet. Returns the display clicked, if any.
    ShopDisplay* shopTurn() {
        ShopDisplay* p_best = nullptr;
        for (ShopDisplay* p : allOfType<ShopDisplay>("ShopDisplay")) {
            if (p->getPurchased() || p->getClickDelay() > 0 ||
                p->getPrice() > MoneyManager::getInstance().getMoney())
                continue;
            if (p_best == nullptr || p->getPrice() < p_best->getPrice())
                p_best = p;
        }
        if (p_best != nullptr)
            click(p_best->getPosition());
        return p_best;
    }

    void setWorkField(bool work) { m_work_field = work; }
    void setUseTools(bool use) { m_use_tools = use; }

    static bool onScreen(const vq::Object* p) {
        const vq::Vector at = p->getPosition();
        return at.getX() >= 0 && at.getY() >= 0 && at.getX() <= 80 && at.getY() <= 24;
    }

private:
    bool m_work_field = true;
    bool m_use_tools = true;
};

inline DayKeeper* dayKeeper() { return firstOfType<DayKeeper>("DayKeeper"); }

} // namespace cftest

#endif
