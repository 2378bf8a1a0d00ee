// The game program itself, started where it cannot open its window.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>

#include "TempDir.h"

namespace {

// Runs the game in `dir` and returns its exit status, or -1.
int runGameIn(const std::string& dir) {
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(dir.c_str()) != 0)
            _exit(100);
        execl(CORNFIELD_BINARY, CORNFIELD_BINARY, static_cast<char*>(nullptr));
        _exit(101);
    }
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

TEST(GameEntryTest, AFailedStartEndsWithStatusOneAndSaysSoInTheLog) {
    // No font here, so the display cannot start.
    char templ[] = "/tmp/cornfield-entry-XXXXXX";
    ASSERT_NE(mkdtemp(templ), nullptr);
    const std::filesystem::path dir(templ);

    EXPECT_EQ(runGameIn(dir.string()), 1);
    const std::string log = vqtest::TempDir::read((dir / "velloq.log").string());
    EXPECT_NE(log.find("Failed to load font"), std::string::npos) << log;
    EXPECT_NE(log.find("Error starting game manager!\n"), std::string::npos) << log;
    EXPECT_EQ(log.find("Adding object"), std::string::npos) << "no object is made after a failed start";
    EXPECT_EQ(log.find("Failed to open sprite file"), std::string::npos) << "nor any resource loaded";
    // Every line carries the time of day and the step count.
    std::istringstream lines(log);
    std::string line;
    while (std::getline(lines, line))
        EXPECT_EQ(line.find_first_not_of("0123456789:"), 8u) << line;
    std::filesystem::remove_all(dir);
}

} // namespace
