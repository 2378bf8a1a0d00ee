#ifndef VQ_TESTS_SUPPORT_LOGCAPTURE_H
#define VQ_TESTS_SUPPORT_LOGCAPTURE_H

// Keeps the log started in the working directory for its lifetime, at the
// given level and flushed line by line, and reads back what was written.

#include <algorithm>
#include <string>
#include <vector>

#include "TempDir.h"
#include "core/LogManager.h"

namespace vqtest {

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

    static std::string text() { return TempDir::read(vq::LOGFILE_NAME); }
    // The lines written, without the managers' start and stop milestones.
    static std::vector<std::string> messages() {
        std::vector<std::string> lines;
        const std::string all = text();
        for (size_t at = 0, end; (end = all.find('\n', at)) != std::string::npos; at = end + 1) {
            const std::string line = all.substr(at, end - at);
            const auto endsWith = [&line](const std::string& tail) {
                return line.size() >= tail.size() && line.compare(line.size() - tail.size(), tail.size(), tail) == 0;
            };
            if (!endsWith(" started") && !endsWith(" shut down"))
                lines.push_back(line);
        }
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
};

} // namespace vqtest

#endif
