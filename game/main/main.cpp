#include <cstdio>
#include <cstdlib>
#include <ctime>

#include <velloq/core/LogManager.h>
#include <velloq/display/DisplayManager.h>
#include <velloq/world/GameManager.h>

#include "flow/GameData.h"
#include "flow/RunObjects.h"
#include "main/CommandLine.h"
#include "main/GameFiles.h"

int main(int argc, char** argv) {
    const CommandLine command_line(argc, argv);
    if (!command_line.play())
        return command_line.answer(stdout, stderr);
    GameFiles files;
    if (!files.setUp(stderr))
        return 1;

    vq::LogManager& log = vq::LogManager::getInstance();
    log.setLogTimeString(true);
    log.setLogStepCount(true);
    log.setLogLevel(0);
    log.setFlush(true);

    srand(static_cast<unsigned>(time(nullptr)));

    vq::GameManager& game = vq::GameManager::getInstance();
    // Loaded before the window opens, so a damaged install is refused without one.
    if (loadGameData() != 0) {
        game.shutDown();
        return 1;
    }
    if (game.startUp() != 0) {
        log.writeLog("Error starting game manager!");
        game.shutDown();
        return 1;
    }
    files.report();
    vq::DisplayManager::getInstance().setWindowIcon(WINDOW_ICON_FILE);

    createRunObjects();

    // Shuts the engine down and deletes every object before it returns.
    game.run();
    return 0;
}
