#include <velloq/core/LogManager.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <system_error>

namespace vq {

char* getTimeString() {
    static char time_str[15];
    const time_t now = time(nullptr);
    if (now == 0 || now == static_cast<time_t>(-1))
        return nullptr;
    struct tm local;
    if (localtime_r(&now, &local) == nullptr)
        return nullptr;
    snprintf(time_str, sizeof(time_str), "%02d:%02d:%02d", local.tm_hour, local.tm_min, local.tm_sec);
    return time_str;
}

LogManager::LogManager()
    : m_do_flush(false), m_p_file(nullptr), m_file_name(LOGFILE_NAME), m_open_failure_said(false), m_log_level(-1),
      m_log_time_string(false), m_log_step_count(false), m_p_step_count(nullptr) {
    setType("LogManager");
}

LogManager& LogManager::getInstance() {
    static LogManager instance;
    return instance;
}

LogManager::~LogManager() {
    if (m_p_file != nullptr) {
        FILE* p_file = m_p_file;
        // Forget the stream first: a stream whose closing failed is unusable.
        m_p_file = nullptr;
        if (fclose(p_file) != 0)
            fprintf(stderr, "Failed to close log file\n");
    }
}

namespace {

// Rounds of finding the log moved by another game before appending anyway.
const int OPEN_ATTEMPTS = 4;

// Opens the log for appending; a log grown past the limit is moved to
// old_name first. Games starting together may all find it too large, so
// whoever moves it holds an exclusive lock on it and looks again under the
// lock: a game that finds it moved already opens the current log instead,
// and a fresh log never replaces the older one. rotate_error tells why a
// needed move failed (the large log is then appended to). -1, with errno,
// when the log cannot be opened at all.
int openLog(const std::string& name, const std::string& old_name, std::string& rotate_error) {
    for (int attempt = 1;; attempt++) {
        const int fd = open(name.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
        struct stat opened;
        if (fd < 0 || fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode) || opened.st_size <= LOGFILE_ROTATE_SIZE ||
            attempt == OPEN_ATTEMPTS)
            return fd;
        if (flock(fd, LOCK_EX) != 0) {
            rotate_error = strerror(errno);
            return fd;
        }
        struct stat current;
        const bool still_too_large = stat(name.c_str(), &current) == 0 && current.st_dev == opened.st_dev &&
                                     current.st_ino == opened.st_ino && current.st_size > LOGFILE_ROTATE_SIZE;
        if (still_too_large && rename(name.c_str(), old_name.c_str()) != 0) {
            rotate_error = strerror(errno);
            flock(fd, LOCK_UN);
            return fd;
        }
        // Moved, by this game or by another: the next round opens the new log.
        flock(fd, LOCK_UN);
        close(fd);
    }
}

const char* programName() {
#if defined(__GLIBC__)
    return program_invocation_short_name;
#else
    return "velloq";
#endif
}

} // namespace

int LogManager::startUp() {
    if (isStarted())
        return 0;
    const std::string old_name = m_file_name + ".1";
    std::string rotate_error;
    const int fd = openLog(m_file_name, old_name, rotate_error);
    m_p_file = fd >= 0 ? fdopen(fd, "a") : nullptr;
    if (m_p_file == nullptr) {
        const int error = errno;
        if (fd >= 0)
            close(fd);
        // Said once, however often it is tried: the game plays on without it.
        if (!m_open_failure_said) {
            std::error_code ignored;
            const std::string path = std::filesystem::absolute(m_file_name, ignored).string();
            fprintf(stderr, "%s: Cannot open log file %s: %s; nothing is logged\n", programName(), path.c_str(),
                    strerror(error));
        }
        m_open_failure_said = true;
        return -1;
    }
    m_open_failure_said = false;
    const int result = Manager::startUp();
    // Games sharing a log are told apart by this line.
    writeLog(1, "Process %d started", static_cast<int>(getpid()));
    if (!rotate_error.empty())
        writeLog(1, "Failed to move %s to %s, appending to it: %s", m_file_name.c_str(), old_name.c_str(),
                 rotate_error.c_str());
    return result;
}

int LogManager::shutDown() {
    if (m_p_file != nullptr) {
        FILE* p_file = m_p_file;
        m_p_file = nullptr;
        if (fclose(p_file) != 0) {
            // The log cannot report its own failure any more; stderr can.
            fprintf(stderr, "Failed to shut down LogManager\n");
            return -1;
        }
    }
    return Manager::shutDown();
}

int LogManager::setLogFile(const std::string& path) {
    if (isStarted()) {
        writeLog(1, "Cannot change the log file to '%s' while the log is started", path.c_str());
        return -1;
    }
    if (path.empty())
        return -1;
    m_file_name = path;
    return 0;
}

std::string LogManager::getLogFile() const { return m_file_name; }

void LogManager::setLogLevel(int log_level) { m_log_level = log_level; }
int LogManager::getLogLevel() const { return m_log_level; }
void LogManager::setFlush(bool do_flush) { m_do_flush = do_flush; }
void LogManager::setLogTimeString(bool log_time_string) { m_log_time_string = log_time_string; }
void LogManager::setLogStepCount(bool log_step_count) { m_log_step_count = log_step_count; }
void LogManager::setStepCountSource(int (*step_count)()) { m_p_step_count = step_count; }

int LogManager::writeLog(int log_level, const char* fmt, ...) const {
    // The level test comes before any formatting so suppressed lines are cheap.
    if (log_level <= m_log_level)
        return 0;
    va_list args;
    va_start(args, fmt);
    const int result = writeLog(log_level, fmt, args);
    va_end(args);
    return result;
}

int LogManager::writeLog(const char* fmt, ...) const {
    if (LOG_ALWAYS <= m_log_level)
        return 0;
    va_list args;
    va_start(args, fmt);
    const int result = writeLog(LOG_ALWAYS, fmt, args);
    va_end(args);
    return result;
}

int LogManager::writeError(const char* fmt, ...) const {
    va_list args;
    va_start(args, fmt);
    va_list for_stderr;
    va_copy(for_stderr, args);
    fprintf(stderr, "%s: ", programName());
    vfprintf(stderr, fmt, for_stderr);
    fputc('\n', stderr);
    va_end(for_stderr);
    const int result = writeLog(LOG_ALWAYS, fmt, args);
    va_end(args);
    return result;
}

int LogManager::writeLog(int log_level, const char* fmt, va_list args) const {
    if (log_level <= m_log_level)
        return 0;
    if (!isStarted() || m_p_file == nullptr)
        return -1;
    if (m_log_time_string) {
        const char* time_str = getTimeString();
        fprintf(m_p_file, "%s\t", time_str != nullptr ? time_str : "--:--:--");
    }
    if (m_log_step_count)
        fprintf(m_p_file, "%d\t", m_p_step_count != nullptr ? m_p_step_count() : 0);
    const int written = vfprintf(m_p_file, fmt, args);
    fputc('\n', m_p_file);
    if (m_do_flush && fflush(m_p_file) != 0)
        return -1;
    return written;
}

} // namespace vq
