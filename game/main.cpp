#include <cstdlib>
#include <ctime>

#include "core/GameManager.h"
#include "core/LogManager.h"
#include "field/Reticle.h"
#include "flow/DayKeeper.h"
#include "flow/ResourceTable.h"
#include "hud/DayText.h"
#include "hud/MoneyText.h"
#include "hud/TimeText.h"
#include "hud/TitleScreen.h"

int main(int, char**) {
    vq::LogManager& log = vq::LogManager::getInstance();
    log.setLogTimeString(true);
    log.setLogStepCount(true);
    log.setLogLevel(0);
    log.setFlush(true);

    srand(static_cast<unsigned>(time(nullptr)));

    vq::GameManager& game = vq::GameManager::getInstance();
    if (game.startUp() != 0) {
        log.writeLog("Error starting game manager!");
        game.shutDown();
        return 1;
    }

    loadResources();

    // The world owns these from here on. Order matters: the title screen sees
    // a key press before the day keeper does.
    new TitleScreen;
    new Reticle;
    new DayKeeper;
    new TimeText;
    new MoneyText;
    new DayText;

    // Shuts the engine down and deletes every object before it returns.
    game.run();
    return 0;
}
