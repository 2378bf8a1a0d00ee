// Feeds arbitrary bytes to the sprite file reader. Whatever the file holds,
// loading must not crash, hang or leak, and a sprite that loads must be
// consistent with its own headers.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

#include "core/LogManager.h"
#include "core/Vector.h"
#include "resources/Animation.h"
#include "resources/ResourceManager.h"
#include "resources/Sprite.h"

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
    if (mkdtemp(dir) == nullptr || chdir(dir) != 0)
        std::abort();
    if (symlink("/dev/null", vq::LOGFILE_NAME) != 0)
        std::abort();
    vq::LogManager& log = vq::LogManager::getInstance();
    if (log.startUp() != 0)
        std::abort();
    log.setLogLevel(-1);
    vq::ResourceManager::getInstance().startUp();
    g_file = std::string(dir) + "/sprite.txt";
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FILE* p_file = std::fopen(g_file.c_str(), "wb");
    if (p_file == nullptr)
        return 0;
    if (size > 0)
        std::fwrite(data, 1, size, p_file);
    std::fclose(p_file);

    vq::ResourceManager& store = vq::ResourceManager::getInstance();
    if (store.loadSprite(g_file, "fuzz") != 0) {
        check(store.getSprite("fuzz") == nullptr);
        return 0;
    }
    vq::Sprite* p_sprite = store.getSprite("fuzz");
    check(p_sprite != nullptr);
    const int width = p_sprite->getWidth();
    const int height = p_sprite->getHeight();
    check(width >= 1 && height >= 1 && p_sprite->getFrameCount() >= 1);
    check(p_sprite->getSlowdown() != 0);
    check(static_cast<int>(p_sprite->getColor()) >= 0 && static_cast<int>(p_sprite->getColor()) <= 7);
    // Every row was checked against the width, so no frame can be larger
    // than the file.
    check(static_cast<size_t>(width) * static_cast<size_t>(height) * p_sprite->getFrameCount() <= size);
    for (int i = 0; i < p_sprite->getFrameCount(); i++) {
        const vq::Frame frame = p_sprite->getFrame(i);
        check(frame.getWidth() == width && frame.getHeight() == height);
        check(frame.getString().size() == static_cast<size_t>(width) * static_cast<size_t>(height));
    }

    // Play it a little: drawing fails without a window, the animation still
    // steps through the frames.
    vq::Animation animation;
    animation.setSprite(p_sprite);
    for (int i = 0; i < 3; i++)
        animation.draw(vq::Vector(40, 12));
    check(animation.getIndex() >= 0 && animation.getIndex() < p_sprite->getFrameCount());
    animation.getBox();

    check(store.unloadSprite("fuzz") == 0);
    check(store.getSprite("fuzz") == nullptr);
    return 0;
}
