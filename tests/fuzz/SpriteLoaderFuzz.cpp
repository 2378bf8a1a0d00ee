// Feeds arbitrary bytes to the sprite file reader. Whatever the file holds,
// loading must not crash, hang or leak, and a sprite that loads must be
// consistent with its own headers.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

#include <velloq/core/LogManager.h>
#include <velloq/core/Vector.h>
#include <velloq/resources/Animation.h>
#include <velloq/resources/ResourceManager.h>
#include <velloq/resources/Sprite.h>

namespace {

std::string g_file;

void check(bool condition) {
    if (!condition)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Work in a private directory; the log goes to /dev/null so every
    // message is still formatted without filling the disk.
    char dir[] = "/tmp/vq-fuzz-XXXXXX";
    vq::LogManager& log = vq::LogManager::getInstance();
    if (mkdtemp(dir) == nullptr || chdir(dir) != 0 || symlink("/dev/null", vq::LOGFILE_NAME) != 0 || log.startUp() != 0)
        std::abort();
    log.setLogLevel(-1);
    vq::ResourceManager::getInstance().startUp();
    g_file = std::string(dir) + "/sprite.txt";
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (FILE* p_file = std::fopen(g_file.c_str(), "wb")) {
        if (size > 0)
            std::fwrite(data, 1, size, p_file);
        std::fclose(p_file);
    }
    vq::ResourceManager& store = vq::ResourceManager::getInstance();
    const bool loaded = store.loadSprite(g_file, "fuzz") == 0;
    vq::Sprite* p_sprite = store.getSprite("fuzz");
    check(loaded == (p_sprite != nullptr));
    if (!loaded)
        return 0;
    const int width = p_sprite->getWidth(), height = p_sprite->getHeight(), frames = p_sprite->getFrameCount();
    check(width >= 1 && height >= 1 && frames >= 1 && p_sprite->getSlowdown() != 0);
    check(static_cast<int>(p_sprite->getColor()) >= 0 && static_cast<int>(p_sprite->getColor()) <= 7);
    // Every row was checked against the width, so no frame can be larger
    // than the file.
    const size_t cells = static_cast<size_t>(width) * static_cast<size_t>(height);
    check(cells * static_cast<size_t>(frames) <= size);
    for (int i = 0; i < frames; i++)
        check(p_sprite->getFrame(i).getWidth() == width && p_sprite->getFrame(i).getHeight() == height &&
              p_sprite->getFrame(i).getString().size() == cells);
    // Played a little: drawing fails without a window, the animation still
    // steps through the frames.
    vq::Animation animation;
    animation.setSprite(p_sprite);
    for (int i = 0; i < 3; i++)
        animation.draw(vq::Vector(40, 12));
    check(animation.getIndex() >= 0 && animation.getIndex() < frames);
    check(store.unloadSprite("fuzz") == 0 && store.getSprite("fuzz") == nullptr);
    return 0;
}
