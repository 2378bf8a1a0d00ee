#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "TempDir.h"
#include "core/LogManager.h"

using vq::LogManager;
using vqtest::TempDir;

namespace {

// A fresh working directory and a log manager back at its defaults.
class LogManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        LogManager& log = LogManager::getInstance();
        log.setLogLevel(-1);
        log.setFlush(false);
        log.setLogTimeString(false);
        log.setLogStepCount(false);
    }
    void TearDown() override {
        LogManager& log = LogManager::getInstance();
        if (log.isStarted())
            log.shutDown();
    }
    TempDir dir;
};

TEST_F(LogManagerTest, WritingBeforeStartUpFailsAndCreatesNoFile) {
    EXPECT_EQ(-1, LogManager::getInstance().writeLog(0, "early"));
    EXPECT_EQ(-1, LogManager::getInstance().writeLog("early"));
    EXPECT_FALSE(TempDir::exists(vq::LOGFILE_NAME));
}

TEST_F(LogManagerTest, DefaultsWriteBareMessagesAndReturnTheirLength) {
    LogManager& log = LogManager::getInstance();
    ASSERT_EQ(0, log.startUp());
    EXPECT_EQ(7, log.writeLog(0, "Step %i", 12));
    EXPECT_EQ(5, log.writeLog(1, "%s", "label"));
    log.shutDown();
    // The first line is the manager's own start line; its shut-down line is
    // lost because the started flag is cleared first.
    EXPECT_EQ("LogManager started\nStep 12\nlabel\n", TempDir::read(vq::LOGFILE_NAME));
}

TEST_F(LogManagerTest, LevelFiltersLinesAtOrBelowTheLogLevel) {
    LogManager& log = LogManager::getInstance();
    ASSERT_EQ(0, log.startUp());
    log.setLogLevel(1);
    EXPECT_EQ(0, log.writeLog(0, "level zero"));
    EXPECT_EQ(0, log.writeLog(1, "level one"));
    EXPECT_GT(log.writeLog(2, "level two"), 0);
    EXPECT_GT(log.writeLog("unlevelled"), 0);
    log.setLogLevel(vq::LOG_ALWAYS);
    EXPECT_EQ(0, log.writeLog("suppressed too"));
    log.shutDown();
    EXPECT_EQ("LogManager started\nlevel two\nunlevelled\n", TempDir::read(vq::LOGFILE_NAME));
}

TEST_F(LogManagerTest, PrefixesAreTimeThenStepSeparatedByTabs) {
    LogManager& log = LogManager::getInstance();
    log.setLogTimeString(true);
    log.setLogStepCount(true);
    log.setFlush(true);
    ASSERT_EQ(0, log.startUp());
    log.writeLog(1, "Collision detected between objects %i and %i", 5, 9);
    // Flushed: readable before the file is closed.
    const std::string content = TempDir::read(vq::LOGFILE_NAME);
    const std::string second = content.substr(content.find('\n') + 1);
    ASSERT_GE(second.size(), 11u);
    for (size_t i : {0u, 1u, 3u, 4u, 6u, 7u})
        EXPECT_TRUE(isdigit(static_cast<unsigned char>(second[i]))) << second;
    EXPECT_EQ(':', second[2]);
    EXPECT_EQ(':', second[5]);
    // No loop has run yet, so the step count reads 0.
    EXPECT_EQ("\t0\tCollision detected between objects 5 and 9\n", second.substr(8));
}

TEST_F(LogManagerTest, SecondRunAppendsAfterTheFirst) {
    LogManager& log = LogManager::getInstance();
    ASSERT_EQ(0, log.startUp());
    log.writeLog(1, "first run");
    log.shutDown();
    ASSERT_EQ(0, log.startUp());
    log.writeLog(1, "second run");
    log.shutDown();
    EXPECT_EQ("LogManager started\nfirst run\nLogManager started\nsecond run\n", TempDir::read(vq::LOGFILE_NAME));
}

// A log of the limit's size is appended to; one byte more and it is moved to
// the old log's name, replacing an older one, and a fresh log begins.
TEST_F(LogManagerTest, StartUpMovesALogLargerThanTheLimitAside) {
    const struct {
        long long size;
        bool moved;
    } cases[] = {{vq::LOGFILE_ROTATE_SIZE, false}, {vq::LOGFILE_ROTATE_SIZE + 1, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        dir.write(vq::LOGFILE_NAME, "earlier run\n");
        std::filesystem::resize_file(vq::LOGFILE_NAME, static_cast<std::uintmax_t>(c.size));
        dir.write(vq::LOGFILE_OLD_NAME, "older run\n");
        LogManager& log = LogManager::getInstance();
        ASSERT_EQ(0, log.startUp());
        log.writeLog(1, "this run");
        log.shutDown();

        const std::string current = TempDir::read(vq::LOGFILE_NAME), old = TempDir::read(vq::LOGFILE_OLD_NAME);
        const std::string this_run = "LogManager started\nthis run\n";
        const size_t size = static_cast<size_t>(c.size);
        if (c.moved) {
            EXPECT_EQ(this_run, current);
            ASSERT_EQ(size, old.size());
            EXPECT_EQ(0u, old.find("earlier run\n"));
        } else {
            EXPECT_EQ("older run\n", old);
            ASSERT_EQ(size + this_run.size(), current.size());
            EXPECT_EQ(0u, current.find("earlier run\n"));
            EXPECT_EQ(this_run, current.substr(size));
        }
    }
}

// When the log cannot be moved, logging goes on in the old file and says why.
TEST_F(LogManagerTest, LogThatCannotBeMovedIsAppendedToWithTheReason) {
    dir.write(std::string(vq::LOGFILE_OLD_NAME) + "/blocker", ""); // a directory in the way
    dir.write(vq::LOGFILE_NAME, "earlier run\n");
    std::filesystem::resize_file(vq::LOGFILE_NAME, static_cast<std::uintmax_t>(vq::LOGFILE_ROTATE_SIZE) + 1);
    LogManager& log = LogManager::getInstance();
    ASSERT_EQ(0, log.startUp());
    EXPECT_GT(log.writeLog(1, "this run"), 0);
    log.shutDown();
    const std::string text = TempDir::read(vq::LOGFILE_NAME);
    const std::string tail = text.substr(static_cast<size_t>(vq::LOGFILE_ROTATE_SIZE + 1));
    EXPECT_EQ(0u, tail.find("LogManager started\nFailed to move velloq.log to velloq.log.1, appending to it: "));
    EXPECT_EQ(tail.size() - 9, tail.rfind("this run\n"));
}

TEST_F(LogManagerTest, StartUpFailsWhenTheFileCannotBeOpened) {
    // A directory in the way of the log file.
    dir.write(std::string(vq::LOGFILE_NAME) + "/blocker", "");
    EXPECT_EQ(-1, LogManager::getInstance().startUp());
    EXPECT_FALSE(LogManager::getInstance().isStarted());
}

TEST(TimeString, IsZeroPaddedClockTime) {
    const char* time_str = vq::getTimeString();
    ASSERT_NE(nullptr, time_str);
    const std::string text = time_str;
    ASSERT_EQ(8u, text.size());
    EXPECT_EQ(':', text[2]);
    EXPECT_EQ(':', text[5]);
    EXPECT_LT(std::stoi(text.substr(0, 2)), 24);
    EXPECT_LT(std::stoi(text.substr(3, 2)), 60);
}

} // namespace
