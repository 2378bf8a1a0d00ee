#include "flow/RunObjects.h"

#include "field/Reticle.h"
#include "flow/DayKeeper.h"
#include "flow/TimeText.h"
#include "hud/DayText.h"
#include "hud/MoneyText.h"
#include "hud/TitleScreen.h"

DayKeeper* createRunObjects() {
    new TitleScreen;
    new Reticle;
    auto* p_keeper = new DayKeeper;
    new TimeText;
    new MoneyText;
    new DayText;
    return p_keeper;
}
