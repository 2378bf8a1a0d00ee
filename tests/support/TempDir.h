#ifndef VQ_TESTS_SUPPORT_TEMPDIR_H
#define VQ_TESTS_SUPPORT_TEMPDIR_H

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace vqtest {

// A fresh temporary directory, the working directory for the object's
// lifetime, so tests that write velloq.log or data files leave the
// repository alone.
class TempDir {
public:
    TempDir() : m_previous(std::filesystem::current_path()) {
        char templ[] = "/tmp/vqtest-XXXXXX";
        m_path = mkdtemp(templ) != nullptr ? templ : "/nonexistent";
        std::filesystem::current_path(m_path);
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::current_path(m_previous, ignored);
        std::filesystem::remove_all(m_path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return m_path; }
    // Writes a file below the directory, making its folders.
    void write(const std::string& name, const std::string& content) const {
        const std::filesystem::path file = std::filesystem::path(m_path) / name;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << content;
    }
    // A copy of the game's font, so the display can start here.
    void copyFont() const { write("vq-font.ttf", read(VQ_DATA_DIR "/vq-font.ttf")); }
    // A whole file; empty when missing.
    static std::string read(const std::string& name) {
        std::ostringstream buffer;
        buffer << std::ifstream(name, std::ios::binary).rdbuf();
        return buffer.str();
    }

private:
    std::string m_path;
    std::filesystem::path m_previous;
};

} // namespace vqtest

#endif
