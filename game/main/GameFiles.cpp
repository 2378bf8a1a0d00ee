#include "main/GameFiles.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

#include <velloq/core/DataFolder.h>
#include <velloq/core/LogManager.h>

namespace fs = std::filesystem;

namespace {

// A folder holds the data when the font and the three resource folders are there.
bool holdsData(const fs::path& folder) {
    std::error_code ec;
    return fs::is_regular_file(folder / "vq-font.ttf", ec) && fs::is_directory(folder / "sprites", ec) &&
           fs::is_directory(folder / "sounds", ec) && fs::is_directory(folder / "music", ec);
}

std::string absoluteEnvironment(const char* name) {
    const char* const value = getenv(name);
    return value != nullptr && value[0] == '/' ? value : "";
}

// $XDG_STATE_HOME, else ~/.local/state; "" when there is no home.
std::string stateHome() {
    std::string folder = absoluteEnvironment("XDG_STATE_HOME");
    if (!folder.empty())
        return folder;
    std::string home = absoluteEnvironment("HOME");
    if (home.empty()) {
        const struct passwd* const p_user = getpwuid(getuid());
        if (p_user != nullptr && p_user->pw_dir != nullptr && p_user->pw_dir[0] == '/')
            home = p_user->pw_dir;
    }
    return home.empty() ? "" : home + "/.local/state";
}

// Makes the folder and any missing parent, each readable by its owner only;
// "" or the reason it failed.
std::string makeFolder(const fs::path& folder) {
    fs::path made;
    std::error_code ec;
    for (const fs::path& part : folder) {
        made /= part;
        if (!fs::is_directory(made, ec) && mkdir(made.c_str(), 0700) != 0)
            return strerror(errno);
    }
    return "";
}

} // namespace

GameFiles::GameFiles() = default;

bool GameFiles::setUp(FILE* err) {
    if (!findData(err) || !placeLog(err))
        return false;
    vq::setDataFolder(m_data_folder);
    vq::LogManager::getInstance().setLogFile(m_log_file);
    return true;
}

bool GameFiles::findData(FILE* err) {
    std::vector<std::string> tried; // each folder looked in, as named to the player
    std::error_code ec;
    const char* const chosen = getenv("CORNFIELD_DATA_DIR");
    if (chosen != nullptr && chosen[0] != '\0') {
        tried.push_back(std::string(chosen) + " ($CORNFIELD_DATA_DIR)");
        if (holdsData(chosen)) {
            m_data_folder = fs::absolute(chosen, ec).lexically_normal().string();
            m_found = tried.back();
            return true;
        }
    }
    // Installed: the data lies where the install put it, relative to the binary.
    const fs::path binary = fs::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        const fs::path installed = (binary.parent_path() / CORNFIELD_DATA_FROM_BINARY).lexically_normal();
        tried.push_back(installed.string());
        if (holdsData(installed)) {
            m_data_folder = installed.string();
            m_found = tried.back();
            return true;
        }
    }
    const fs::path here = fs::current_path(ec);
    tried.push_back((ec ? std::string(".") : here.string()) + " (the working directory)");
    if (holdsData(".")) {
        m_data_folder.clear(); // the engine's default
        m_found = tried.back();
        return true;
    }
    std::string all;
    for (const std::string& folder : tried)
        all += (all.empty() ? "" : ", ") + folder;
    fprintf(err, "cornfield: no game data (vq-font.ttf, sprites/, sounds/, music/) in %s\n", all.c_str());
    return false;
}

bool GameFiles::placeLog(FILE* err) {
    if (m_data_folder.empty()) {
        m_log_file = vq::LOGFILE_NAME; // beside the data, as in a source tree
        return true;
    }
    const std::string state = stateHome();
    if (state.empty()) {
        fputs("cornfield: no folder for the log: neither XDG_STATE_HOME nor HOME names one\n", err);
        return false;
    }
    const fs::path folder = fs::path(state) / "cornfield";
    m_log_file = (folder / vq::LOGFILE_NAME).string();
    const std::string problem = makeFolder(folder);
    if (!problem.empty())
        fprintf(err, "cornfield: cannot make the log folder %s: %s\n", folder.c_str(), problem.c_str());
    return true;
}

void GameFiles::report() const { vq::LogManager::getInstance().writeLog(1, "Game data read from %s", m_found.c_str()); }
