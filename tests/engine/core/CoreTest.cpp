#include <gtest/gtest.h>

#include <filesystem>
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
    EXPECT_EQ("LogManager started\nStep 12\nlevel two\nunlevelled\n", TempDir::read(vq::LOGFILE_NAME));
    log.setLogLevel(-1);
    EXPECT_EQ("LogManager started\nStep 12\nlevel two\nunlevelled\nLogManager started\nsecond run\n",
              run("second run"));
}

// A log of the limit's size is appended to; one byte more and it is moved to
// the old log's name, replacing an older one, and a fresh log begins.
TEST_F(LogManagerTest, StartUpMovesALogLargerThanTheLimitAside) {
    const std::string this_run = "LogManager started\nthis run\n";
    for (const long long size : {vq::LOGFILE_ROTATE_SIZE, vq::LOGFILE_ROTATE_SIZE + 1}) {
        SCOPED_TRACE(size);
        dir.write(vq::LOGFILE_NAME, "earlier run\n");
        std::filesystem::resize_file(vq::LOGFILE_NAME, static_cast<std::uintmax_t>(size));
        dir.write(vq::LOGFILE_OLD_NAME, "older run\n");
        const std::string current = run("this run"), old = TempDir::read(vq::LOGFILE_OLD_NAME);
        const bool moved = size > vq::LOGFILE_ROTATE_SIZE;
        EXPECT_EQ(moved ? this_run : "earlier run\n", current.substr(0, moved ? std::string::npos : 12));
        const long long run_size = static_cast<long long>(this_run.size());
        EXPECT_EQ(static_cast<long long>(current.size()), moved ? run_size : size + run_size);
        EXPECT_EQ(static_cast<long long>(old.size()), moved ? size : 10);
        EXPECT_EQ(old.substr(0, 12), moved ? "earlier run\n" : "older run\n");
    }
    // When the log cannot be moved, logging goes on in the old file and says why.
    std::filesystem::remove(vq::LOGFILE_OLD_NAME);
    dir.write(std::string(vq::LOGFILE_OLD_NAME) + "/blocker", "");
    std::filesystem::resize_file(vq::LOGFILE_NAME, static_cast<std::uintmax_t>(vq::LOGFILE_ROTATE_SIZE) + 1);
    const std::string tail = run("this run").substr(static_cast<size_t>(vq::LOGFILE_ROTATE_SIZE + 1));
    EXPECT_EQ(0u, tail.find("LogManager started\nFailed to move velloq.log to velloq.log.1, appending to it: "));
    EXPECT_EQ(tail.size() - 9, tail.rfind("this run\n"));
    // A directory in the way of the log itself: no start.
    std::filesystem::remove(vq::LOGFILE_NAME);
    dir.write(std::string(vq::LOGFILE_NAME) + "/blocker", "");
    EXPECT_EQ(-1, log.startUp());
    EXPECT_FALSE(log.isStarted());
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
    EXPECT_EQ("LogManager started\nCannot change the log file to 'other.log' while the log is started\n",
              TempDir::read("state/game.log"));
    EXPECT_FALSE(std::filesystem::exists(vq::LOGFILE_NAME) || std::filesystem::exists("other.log"));
}

} // namespace
