#include <velloq/core/DataFolder.h>

namespace vq {

namespace {

std::string& folder() {
    static std::string data_folder;
    return data_folder;
}

} // namespace

void setDataFolder(const std::string& data_folder) { folder() = data_folder; }

std::string getDataFolder() { return folder(); }

std::string dataPath(const std::string& file) {
    const std::string& data_folder = folder();
    if (data_folder.empty() || file.empty() || file[0] == '/')
        return file;
    if (data_folder.back() == '/')
        return data_folder + file;
    return data_folder + "/" + file;
}

} // namespace vq
