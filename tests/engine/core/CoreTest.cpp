#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <string>

#include <velloq/core/Box.h>
#include <velloq/core/Geometry.h>
#include <velloq/core/LogManager.h>
#include <velloq/core/Vector.h>

#include "TempDir.h"

using vq::Box;
using vq::LogManager;
using vq::Vector;
using vqtest::TempDir;

namespace {

// Edges and corners belong to a box: touching counts as meeting.
TEST(Geometry, EdgesAreInside) {
    const Box a(Vector(0, 0), 2, 2);
    const std::pair<Box, bool> others[] = {
        {Box(Vector(2, 0), 1, 1), true},         {Box(Vector(2, 2), 1, 1), true},
        {Box(Vector(1, 1), 0, 0), true},         {Box(Vector(-1, -1), 5, 5), true},
        {Box(Vector(2.01f, 0), 1, 1), false},    {Box(Vector(0, -3), 2, 2.5f), false},
        {Box(Vector(-1, 0.5f), 0.99f, 1), false}};
    for (const auto& o : others) {
        EXPECT_EQ(vq::boxIntersectsBox(a, o.first), o.second)
            << o.first.getCorner().getX() << o.first.getCorner().getY();
        EXPECT_EQ(vq::boxIntersectsBox(o.first, a), o.second);
    }
    const Box box(Vector(1, 1), 4, 2);
    const std::pair<Vector, bool> points[] = {{Vector(1, 1), true},
                                              {Vector(5, 3), true},
                                              {Vector(3, 2), true},
                                              {Vector(5.01f, 3), false},
                                              {Vector(1, 0.99f), false}};
    for (const auto& p : points)
        EXPECT_EQ(vq::boxContainsPosition(box, p.first), p.second) << p.first.getX() << "," << p.first.getY();
    EXPECT_EQ(Vector(5, 3), box.getOtherCorner());
    EXPECT_TRUE(vq::boxContainsBox(Box(Vector(2, 1.5f), 1, 1), box));
    EXPECT_TRUE(vq::boxContainsBox(box, box));
    EXPECT_FALSE(vq::boxContainsBox(box, Box(Vector(2, 1.5f), 1, 1)));
    EXPECT_TRUE(vq::positionsIntersect(Vector(0, 0), Vector(1, -1)));
    EXPECT_FALSE(vq::positionsIntersect(Vector(0, 0), Vector(1.01f, 0)));
}

// A fresh working directory and a log at its defaults.
class LogManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        log.setLogLevel(-1);
        log.setFlush(false);
        log.setLogTimeString(false);
        log.setLogStepCount(false);
    }
    void TearDown() override { log.shutDown(); }
    // Starts the log, writes `message` at level 1 and stops it; the file's text.
    std::string run(const char* message) {
        EXPECT_EQ(0, log.startUp());
        log.writeLog(1, "%s", message);
        log.shutDown();
        return TempDir::read(vq::LOGFILE_NAME);
    }
    TempDir dir;
    LogManager& log = LogManager::getInstance();
    const std::string start = "LogManager started\nProcess " + std::to_string(getpid()) + " started\n";
};

TEST_F(LogManagerTest, LinesAboveTheLevelAreAppendedAndReturnTheirLength) {
    EXPECT_EQ(-1, log.writeLog(0, "early"));
    EXPECT_EQ(-1, log.writeLog("early"));
    EXPECT_FALSE(std::filesystem::exists(vq::LOGFILE_NAME)) << "nothing before start-up";
    ASSERT_EQ(0, log.startUp());
    EXPECT_EQ(7, log.writeLog(0, "Step %i", 12));
    log.setLogLevel(1);
    EXPECT_EQ(0, log.writeLog(0, "level zero"));
    EXPECT_EQ(0, log.writeLog(1, "level one"));
    EXPECT_EQ(9, log.writeLog(2, "level two"));
    EXPECT_EQ(10, log.writeLog("unlevelled"));
    log.setLogLevel(vq::LOG_ALWAYS);
    EXPECT_EQ(0, log.writeLog("suppressed too"));
    log.shutDown();
    // The manager's own shut-down line is lost: the started flag is cleared first.
    EXPECT_EQ(start + "Step 12\nlevel two\nunlevelled\n", TempDir::read(vq::LOGFILE_NAME));
}

// A log of the limit's size is appended to; one byte more and it is moved
// aside, once: two games starting while a third holds its lock (as one
// moving it would) both append to the new log. One that cannot be moved is
// appended to, saying why.
TEST_F(LogManagerTest, ALogOverTheLimitIsMovedAsideOnceUnderItsLock) {
    const size_t limit = static_cast<size_t>(vq::LOGFILE_ROTATE_SIZE);
    dir.write(vq::LOGFILE_NAME, "earlier run\n");
    std::filesystem::resize_file(vq::LOGFILE_NAME, limit);
    EXPECT_EQ(start + "this run\n", run("this run").substr(limit));
    dir.write(vq::LOGFILE_OLD_NAME, "older run\n");
    const int held = open(vq::LOGFILE_NAME, O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(0, flock(held, LOCK_EX));
    pid_t games[2];
    for (pid_t& game : games)
        if ((game = fork()) == 0)
            _exit(log.startUp() + log.shutDown());
    // Until both wait for the lock: "->" marks a waiter in /proc/locks.
    const std::regex waiter("-> FLOCK +ADVISORY +WRITE +(" + std::to_string(games[0]) + "|" + std::to_string(games[1]) +
                            ") ");
    long waiting = 0;
    for (int tries = 0; tries < 1000 && waiting < 2; tries++, usleep(10000)) {
        const std::string locks = TempDir::read("/proc/locks");
        waiting = std::distance(std::sregex_iterator(locks.begin(), locks.end(), waiter), std::sregex_iterator());
    }
    EXPECT_EQ(2, waiting);
    flock(held, LOCK_UN);
    for (const pid_t game : games)
        waitpid(game, nullptr, 0);
    const std::string old = TempDir::read(vq::LOGFILE_OLD_NAME), current = TempDir::read(vq::LOGFILE_NAME);
    EXPECT_TRUE(old.size() == limit + start.size() + 9 && old.find("earlier run\n") == 0);
    for (const pid_t game : games)
        EXPECT_NE(current.find("Process " + std::to_string(game) + " started\n"), std::string::npos) << current;
    std::filesystem::remove(vq::LOGFILE_OLD_NAME);
    dir.write(std::string(vq::LOGFILE_OLD_NAME) + "/blocker", "");
    std::filesystem::resize_file(vq::LOGFILE_NAME, limit + 1);
    EXPECT_EQ(start + "Failed to move velloq.log to velloq.log.1, appending to it: Is a directory\nthis run\n",
              run("this run").substr(limit + 1));
    // A directory in the way of the log itself: no start, said once on
    // stderr however often it is tried.
    std::filesystem::remove(vq::LOGFILE_NAME);
    dir.write(std::string(vq::LOGFILE_NAME) + "/blocker", "");
    testing::internal::CaptureStderr();
    EXPECT_EQ(-2, log.startUp() + log.startUp());
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(!log.isStarted() && std::count(said.begin(), said.end(), '\n') == 1) << said;
    EXPECT_NE(said.find("Cannot open log file " + dir.path() + "/velloq.log: Is a directory"), std::string::npos);
}

// A log file elsewhere is rotated beside itself, and cannot change while the log runs.
TEST_F(LogManagerTest, ALogFileOfItsOwnIsRotatedBesideIt) {
    dir.write("state/game.log", "earlier run\n");
    std::filesystem::resize_file("state/game.log", static_cast<std::uintmax_t>(vq::LOGFILE_ROTATE_SIZE) + 1);
    EXPECT_EQ(-1, log.setLogFile(""));
    ASSERT_EQ(0, log.setLogFile(dir.path() + "/state/game.log"));
    ASSERT_EQ(0, log.startUp());
    EXPECT_EQ(-1, log.setLogFile("other.log"));
    log.shutDown();
    EXPECT_EQ(dir.path() + "/state/game.log", log.getLogFile());
    EXPECT_EQ(std::filesystem::file_size("state/game.log.1"), static_cast<std::uintmax_t>(vq::LOGFILE_ROTATE_SIZE) + 1);
    EXPECT_EQ("LogManager started\nProcess " + std::to_string(getpid()) +
                  " started\nCannot change the log file to 'other.log' while the log is started\n",
              TempDir::read("state/game.log"));
    EXPECT_FALSE(std::filesystem::exists(vq::LOGFILE_NAME) || std::filesystem::exists("other.log"));
}

} // namespace
