#ifndef VQ_TESTS_DISPLAY_TESTSUPPORT_H
#define VQ_TESTS_DISPLAY_TESTSUPPORT_H

// Shared by the display and input tests.

#include <string>

#include "TempDir.h"
#include "core/LogManager.h"
#include "display/DisplayManager.h"

namespace vqtest {

// Puts the engine's font into the temporary directory, so the display can
// start there.
inline void copyFontInto(const TempDir& dir) {
    dir.write(vq::FONT_FILE_DEFAULT, TempDir::read(std::string(VQ_DATA_DIR) + "/vq-font.ttf"));
}

// Keeps the log started for its lifetime, each line flushed at once so tests
// can read it; stopping it again lets tests share one process.
struct LogSession {
    LogSession() {
        vq::LogManager::getInstance().setFlush(true);
        vq::LogManager::getInstance().startUp();
    }
    ~LogSession() { vq::LogManager::getInstance().shutDown(); }
};

// The lines written after the log's own start line.
inline std::string logText() {
    const std::string text = TempDir::read(vq::LOGFILE_NAME), start = "LogManager started\n";
    return text.compare(0, start.size(), start) == 0 ? text.substr(start.size()) : text;
}

} // namespace vqtest

#endif
