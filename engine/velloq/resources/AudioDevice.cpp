#include <velloq/resources/AudioDevice.h>

#include <velloq/core/LogManager.h>
#include <velloq/display/SfmlCompat.h>

namespace vq {

bool audioCanPlay() {
    if (priv::audioDeviceAvailable())
        return true;
    static bool reported = false;
    if (!reported) {
        reported = true;
        LogManager::getInstance().writeLog(1, "No audio device, sounds and music are silent");
    }
    return false;
}

} // namespace vq
