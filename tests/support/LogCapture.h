#ifndef VQ_TESTS_SUPPORT_LOGCAPTURE_H
#define VQ_TESTS_SUPPORT_LOGCAPTURE_H

#include <algorithm>
#include <string>
#include <vector>

#include "TempDir.h"
#include "core/LogManager.h"

namespace vqtest {

// Keeps the log started in the working directory for its lifetime, at the
// given level, flushed line by line and without time or step, and reads
// back what was written.
class LogCapture {
public:
    explicit LogCapture(int level = -1) {
        vq::LogManager& log = vq::LogManager::getInstance();
        log.setLogLevel(level);
        log.setFlush(true);
        log.setLogTimeString(false);
        log.setLogStepCount(false);
        log.startUp();
    }
    ~LogCapture() { vq::LogManager::getInstance().shutDown(); }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    // The lines written, without the managers' start and stop milestones.
    static std::vector<std::string> messages() {
        std::vector<std::string> lines;
        std::istringstream text(TempDir::read(vq::LOGFILE_NAME));
        for (std::string line; std::getline(text, line);)
            if (!endsWith(line, " started") && !endsWith(line, " shut down"))
                lines.push_back(line);
        return lines;
    }
    static bool has(const std::string& line) {
        const std::vector<std::string> lines = messages();
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
    // The last message, "" when there is none.
    static std::string last() {
        const std::vector<std::string> lines = messages();
        return lines.empty() ? std::string() : lines.back();
    }

private:
    static bool endsWith(const std::string& s, const std::string& tail) {
        return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
    }
};

} // namespace vqtest

#endif
