#ifndef VQ_CORE_LOGMANAGER_H
#define VQ_CORE_LOGMANAGER_H

#include <climits>
#include <cstdarg>
#include <cstdio>
#include <string>

#include <velloq/core/Manager.h>

namespace vq {

// The log file unless setLogFile names another, in the working directory.
const char LOGFILE_NAME[] = "velloq.log";
// At start-up a log larger than this many bytes is moved to the log's name
// with ".1" added (LOGFILE_OLD_NAME for the default), replacing an older one,
// and a fresh log begins, so the file stays bounded.
const long long LOGFILE_ROTATE_SIZE = 8LL * 1024 * 1024;
const char LOGFILE_OLD_NAME[] = "velloq.log.1";

// Level used by the level-less writeLog: written whenever the log is started.
const int LOG_ALWAYS = INT_MAX;

// Current local time of day as "hh:mm:ss" in a static buffer reused by every
// call, or nullptr when the time cannot be read.
char* getTimeString();

// Appends diagnostic lines to its file, LOGFILE_NAME unless set otherwise. A
// line is written only when its level is greater than the log level.
class LogManager : public Manager {
public:
    static LogManager& getInstance();
    ~LogManager() override;

    // Opens the log for appending (moving an oversized one aside first) and
    // writes which process this is. A log that cannot be opened is said once
    // on stderr, and -1 returned. Started already: 0, nothing else.
    int startUp() override;
    int shutDown() override;

    // The file startUp opens, relative to the working directory unless
    // absolute; its folder must exist. Refused (-1) while the log is started
    // and for an empty name.
    int setLogFile(const std::string& path);
    std::string getLogFile() const;

    void setLogLevel(int log_level);
    int getLogLevel() const;
    void setFlush(bool do_flush = true);
    void setLogTimeString(bool log_time_string);
    void setLogStepCount(bool log_step_count);
    // Where the step prefix comes from: the game loop registers its counter
    // when it is made (the log sits below it). Without one the prefix is 0.
    void setStepCountSource(int (*step_count)());

    // Return the number of characters of the message, or -1 when nothing could
    // be written (log stopped) or flushing failed. Suppressed lines return 0.
    int writeLog(int log_level, const char* fmt, ...) const __attribute__((format(printf, 3, 4)));
    int writeLog(const char* fmt, ...) const __attribute__((format(printf, 2, 3)));
    int writeLog(int log_level, const char* fmt, va_list args) const __attribute__((format(printf, 3, 0)));
    // A failure the player has to act on: written as the level-less
    // writeLog does and as one line on stderr, where it is seen even when
    // there is no log. Returns what writing to the log returned.
    int writeError(const char* fmt, ...) const __attribute__((format(printf, 2, 3)));

private:
    LogManager();

    bool m_do_flush;
    FILE* m_p_file;
    std::string m_file_name;
    bool m_open_failure_said;
    int m_log_level;
    bool m_log_time_string;
    bool m_log_step_count;
    int (*m_p_step_count)();
};

} // namespace vq

#endif
