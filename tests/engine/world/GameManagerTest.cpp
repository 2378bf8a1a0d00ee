#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "TempDir.h"
#include "core/EventStep.h"
#include "core/LogManager.h"
#include "display/DisplayManager.h"
#include "input/InputManager.h"
#include "resources/ResourceManager.h"
#include "world/GameManager.h"
#include "world/Object.h"
#include "world/WorldManager.h"

using vq::GameManager;

namespace {

TEST(LoopPacing, AnOverrunFrameShortensTheNextSleep) {
    // A 40 ms frame: no sleep at all...
    const int64_t planned = GameManager::plannedSleep(33, 40000, 0);
    EXPECT_EQ(-7000, planned);
    const int64_t adjustment = GameManager::sleepAdjustment(0, planned);
    EXPECT_EQ(7000, adjustment);
    // ...and the next 10 ms frame sleeps 7 ms less than it would.
    EXPECT_EQ(33000 - 10000 - 7000, GameManager::plannedSleep(33, 10000, adjustment));
}

TEST(LoopPacing, OversleepingCarriesOverButUndersleepingDoesNot) {
    EXPECT_EQ(2000, GameManager::sleepAdjustment(25000, 23000));
    EXPECT_EQ(0, GameManager::sleepAdjustment(22000, 23000));
    EXPECT_EQ(33000 - 10000 - 2000, GameManager::plannedSleep(33, 10000, 2000));
    // A clock read failure (-1) lengthens the sleep by one microsecond.
    EXPECT_EQ(33001, GameManager::plannedSleep(33, -1, 0));
}

TEST(GameManagerStartUp, StopsAtTheFirstManagerThatFails) {
    vqtest::TempDir dir; // no font here, so the display cannot start
    vq::LogManager::getInstance().setFlush(true);
    GameManager& game = GameManager::getInstance();
    EXPECT_EQ(-1, game.startUp());
    EXPECT_TRUE(vq::LogManager::getInstance().isStarted());
    EXPECT_TRUE(vq::WorldManager::getInstance().isStarted());
    EXPECT_FALSE(vq::DisplayManager::getInstance().isStarted());
    EXPECT_FALSE(vq::InputManager::getInstance().isStarted());
    EXPECT_FALSE(vq::ResourceManager::getInstance().isStarted());
    EXPECT_FALSE(game.isStarted());
    game.shutDown();

    const std::string log = vqtest::TempDir::read(vq::LOGFILE_NAME);
    EXPECT_NE(std::string::npos, log.find("LogManager started"));
    EXPECT_NE(std::string::npos, log.find("WorldManager started"));
    EXPECT_NE(std::string::npos, log.find("Failed to load font"));
    EXPECT_EQ(std::string::npos, log.find("GameManager started"));
    EXPECT_EQ(std::string::npos, log.find("InputManager started"));
}

TEST(GameManagerStartUp, SetGameOverLogsEveryChange) {
    vqtest::TempDir dir;
    vq::LogManager::getInstance().startUp();
    GameManager& game = GameManager::getInstance();
    game.setGameOver(false);
    game.setGameOver(true);
    game.setGameOver(true);
    EXPECT_TRUE(game.getGameOver());
    vq::LogManager::getInstance().shutDown();
    EXPECT_EQ("LogManager started\nGame no longer over\nGame over\nGame over\n",
              vqtest::TempDir::read(vq::LOGFILE_NAME));
}

// Ends the game from its step handler on a chosen step and records what the
// loop does around it.
class Stopper : public vq::Object {
public:
    Stopper(std::vector<std::string>& journal, int stop_at) : m_journal(journal), m_stop_at(stop_at) {
        setSolidness(vq::GHOST);
    }
    ~Stopper() override { m_journal.push_back("deleted"); }
    int eventHandler(const vq::Event* p_e) override {
        if (p_e->getType() != vq::STEP_EVENT)
            return 0;
        const int step = dynamic_cast<const vq::EventStep*>(p_e)->getStepCount();
        m_journal.push_back("step " + std::to_string(step) + " logstep " +
                            std::to_string(GameManager::getInstance().getStepCount()));
        if (step == m_stop_at)
            GameManager::getInstance().setGameOver(true);
        return 1;
    }
    int draw() override {
        m_journal.push_back("draw");
        return 0;
    }

private:
    std::vector<std::string>& m_journal;
    int m_stop_at;
};

TEST(GameLoop, GameOverFromAStepHandlerFinishesTheFrameThenShutsDown) {
    vqtest::TempDir dir;
    std::filesystem::copy_file(std::string(VQ_DATA_DIR) + "/vq-font.ttf", "vq-font.ttf");
    GameManager& game = GameManager::getInstance();
    ASSERT_EQ(0, game.startUp());
    std::vector<std::string> journal;
    new Stopper(journal, 2);
    game.run();

    EXPECT_EQ((std::vector<std::string>{"step 0 logstep 0", "draw", "step 1 logstep 1", "draw", "step 2 logstep 2",
                                        "draw", "deleted"}),
              journal);
    EXPECT_EQ(3, game.getStepCount());
    EXPECT_FALSE(vq::DisplayManager::getInstance().isStarted());
    EXPECT_FALSE(vq::LogManager::getInstance().isStarted());
    EXPECT_EQ(0, vq::WorldManager::getInstance().getAllObjects().getCount());

    const std::string log = vqtest::TempDir::read(vq::LOGFILE_NAME);
    for (const char* line : {"LogManager started", "WorldManager started", "DisplayManager started",
                             "InputManager started", "ResourceManager started", "GameManager started",
                             "ResourceManager shut down", "InputManager shut down", "DisplayManager shut down",
                             "WorldManager shut down"})
        EXPECT_NE(std::string::npos, log.find(line)) << line;
    EXPECT_LT(log.find("ResourceManager shut down"), log.find("DisplayManager shut down"));
}

} // namespace
