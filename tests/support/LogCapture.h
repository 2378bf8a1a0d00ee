#ifndef VQ_TESTS_SUPPORT_LOGCAPTURE_H
#define VQ_TESTS_SUPPORT_LOGCAPTURE_H

#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include <velloq/core/LogManager.h>

#include "TempDir.h"

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
        static const std::regex milestone(" (started|shut down)$");
        std::vector<std::string> lines;
        std::istringstream text(TempDir::read(vq::LOGFILE_NAME));
        for (std::string line; std::getline(text, line);)
            if (!std::regex_search(line, milestone))
                lines.push_back(line);
        return lines;
    }
    // The last message, "" when there is none.
    static std::string last() {
        const std::vector<std::string> lines = messages();
        return lines.empty() ? std::string() : lines.back();
    }
};

} // namespace vqtest

#endif
