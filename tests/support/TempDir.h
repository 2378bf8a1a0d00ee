#ifndef VQ_TESTS_SUPPORT_TEMPDIR_H
#define VQ_TESTS_SUPPORT_TEMPDIR_H

#include <string>

namespace vqtest {

// Creates a fresh temporary directory and makes it the working directory for
// the lifetime of the object, so tests that write velloq.log or data files
// leave the repository alone.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return m_path; }
    // Writes a file relative to the temporary directory.
    void write(const std::string& name, const std::string& content) const;
    // A copy of the game's font, so the display can start here.
    void copyFont() const;
    // Reads a whole file; empty when missing.
    static std::string read(const std::string& name);
    static bool exists(const std::string& name);

private:
    std::string m_path;
    std::string m_previous;
};

} // namespace vqtest

#endif
