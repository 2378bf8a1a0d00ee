#include "TempDir.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include <unistd.h>

namespace vqtest {

TempDir::TempDir() {
    char templ[] = "/tmp/vqtest-XXXXXX";
    if (mkdtemp(templ) == nullptr)
        throw std::runtime_error("cannot create temporary directory");
    m_path = templ;
    m_previous = std::filesystem::current_path().string();
    std::filesystem::current_path(m_path);
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::current_path(m_previous, ignored);
    std::filesystem::remove_all(m_path, ignored);
}

void TempDir::write(const std::string& name, const std::string& content) const {
    const std::filesystem::path file = std::filesystem::path(m_path) / name;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary);
    out << content;
}

std::string TempDir::read(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

void TempDir::copyFont() const { write("vq-font.ttf", read(VQ_DATA_DIR "/vq-font.ttf")); }

bool TempDir::exists(const std::string& name) { return std::filesystem::exists(name); }

} // namespace vqtest
