#include <velloq/core/LogManager.h>

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <string>
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
    : m_do_flush(false), m_log_file(LOGFILE_NAME), m_p_file(nullptr), m_log_level(-1), m_log_time_string(false),
      m_log_step_count(false), m_p_step_count(nullptr) {
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

// Moves an oversized log aside. Returns the reason when that was needed and
// failed; the caller then keeps appending to the old file.
std::string rotateIfTooLarge(const std::string& file, const std::string& old_file) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (!fs::is_regular_file(file, ec))
        return "";
    const std::uintmax_t size = fs::file_size(file, ec);
    if (ec || size <= static_cast<std::uintmax_t>(LOGFILE_ROTATE_SIZE))
        return "";
    fs::rename(file, old_file, ec);
    return ec ? ec.message() : "";
}

} // namespace

int LogManager::startUp() {
    const std::string old_file = m_log_file + ".1";
    const std::string rotate_error = rotateIfTooLarge(m_log_file, old_file);
    m_p_file = fopen(m_log_file.c_str(), "a");
    if (m_p_file == nullptr)
        return -1;
    const int result = Manager::startUp();
    if (!rotate_error.empty())
        writeLog(1, "Failed to move %s to %s, appending to it: %s", m_log_file.c_str(), old_file.c_str(),
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
    m_log_file = path;
    return 0;
}

std::string LogManager::getLogFile() const { return m_log_file; }

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
