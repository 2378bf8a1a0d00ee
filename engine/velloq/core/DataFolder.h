#ifndef VQ_CORE_DATAFOLDER_H
#define VQ_CORE_DATAFOLDER_H

#include <string>

namespace vq {

// The folder that relative data file names are read from: the files given to
// the resource store (sprites, sounds, music), the display's font and its
// window icon. Empty, the default, means the working directory. Set it before
// the engine starts; names already loaded are not read again.
void setDataFolder(const std::string& folder);
std::string getDataFolder();

// Where the engine reads `file` from: an absolute name, or any name while no
// folder is set, as it is; otherwise the name inside the data folder.
std::string dataPath(const std::string& file);

} // namespace vq

#endif
