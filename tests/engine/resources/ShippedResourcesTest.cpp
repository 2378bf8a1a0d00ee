#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include <unistd.h>

#include <SFML/Audio/SoundBuffer.hpp>

#include "ResourceTestUtil.h"
#include "SfmlTestCompat.h"
#include "TempDir.h"
#include "core/LogManager.h"
#include "flow/ResourceTable.h"
#include "resources/ResourceManager.h"
#include "resources/Sprite.h"

using vq::ResourceManager;
using vq::Sprite;
using vqtest::messageLines;
using vqtest::TempDir;

namespace {

bool startsWith(const std::string& text, const std::string& head) { return text.rfind(head, 0) == 0; }

// The log lives in a temporary directory; loading happens from the
// repository root, where the game's data files are.
class ShippedResourcesTest : public ::testing::Test {
protected:
    void SetUp() override {
        vqtest::useSilentAudioOutput();
        ASSERT_EQ(0, vq::LogManager::getInstance().startUp());
        vq::LogManager::getInstance().setFlush(true);
        vq::LogManager::getInstance().setLogLevel(-1);
        vq::LogManager::getInstance().setLogLevel(0); // no progress lines
        ASSERT_EQ(0, ResourceManager::getInstance().startUp());
        ASSERT_EQ(0, chdir(VQ_DATA_DIR));
    }
    void TearDown() override {
        ResourceManager::getInstance().shutDown();
        vq::LogManager::getInstance().shutDown();
    }
    std::vector<std::string> problems() const { return messageLines(dir.path() + "/velloq.log"); }
    static Sprite* sprite(const std::string& label) { return ResourceManager::getInstance().getSprite(label); }

    TempDir dir;
};

TEST_F(ShippedResourcesTest, EverySpriteLoadsWithoutAnyMessage) {
    for (std::size_t i = 0; i < SPRITE_RESOURCE_COUNT; i++)
        EXPECT_EQ(0, ResourceManager::getInstance().loadSprite(SPRITE_RESOURCES[i].file, SPRITE_RESOURCES[i].label))
            << SPRITE_RESOURCES[i].file;
    EXPECT_EQ(std::vector<std::string>(), problems());
}

TEST_F(ShippedResourcesTest, SpritesFitWhereTheGameShowsThem) {
    for (std::size_t i = 0; i < SPRITE_RESOURCE_COUNT; i++)
        ASSERT_EQ(0, ResourceManager::getInstance().loadSprite(SPRITE_RESOURCES[i].file, SPRITE_RESOURCES[i].label))
            << SPRITE_RESOURCES[i].file;

    const Sprite* p_plot = sprite("plot_empty");
    // Plots are laid out 8 columns and 6 lines apart.
    EXPECT_LE(p_plot->getWidth(), 7);
    EXPECT_LE(p_plot->getHeight(), 5);

    for (std::size_t i = 0; i < SPRITE_RESOURCE_COUNT; i++) {
        const std::string label = SPRITE_RESOURCES[i].label;
        const Sprite* p_sprite = sprite(label);
        const int width = p_sprite->getWidth();
        const int height = p_sprite->getHeight();
        SCOPED_TRACE(label + " is " + std::to_string(width) + " x " + std::to_string(height));
        int max_width = 0;
        int max_height = 0;
        int min_frames = 1;
        if (startsWith(label, "plot_")) {
            // Every look of a plot has the same box.
            EXPECT_EQ(p_plot->getWidth(), width);
            EXPECT_EQ(p_plot->getHeight(), height);
            max_width = 7;
            max_height = 5;
        } else if (startsWith(label, "corn_")) {
            // A crop is drawn inside its plot's border.
            max_width = p_plot->getWidth() - 1;
            max_height = p_plot->getHeight() - 1;
        } else if (label == "fertilizer" || label == "watering_can") {
            max_width = 5;
            max_height = 3;
        } else if (label == "pumpkin") {
            max_width = 24;
            max_height = 14;
        } else if (startsWith(label, "text_")) {
            max_width = 78;
            max_height = 18;
        } else if (startsWith(label, "upg-")) {
            max_width = 8;
            max_height = 4;
        } else if (startsWith(label, "pest_crow")) {
            max_width = 5;
            max_height = 2;
            min_frames = label == "pest_crow" ? 2 : 1;
        } else if (startsWith(label, "pest_fly")) {
            max_width = 3;
            max_height = 1;
            min_frames = label == "pest_fly" ? 2 : 1;
        } else {
            ADD_FAILURE() << "no size limit known for this label";
        }
        EXPECT_LE(width, max_width);
        EXPECT_LE(height, max_height);
        EXPECT_GE(p_sprite->getFrameCount(), min_frames);
    }
}

TEST_F(ShippedResourcesTest, EverySoundAndTheMusicLoad) {
    loadResources();
    ResourceManager& store = ResourceManager::getInstance();
    for (std::size_t i = 0; i < SPRITE_RESOURCE_COUNT; i++)
        EXPECT_NE(nullptr, store.getSprite(SPRITE_RESOURCES[i].label)) << SPRITE_RESOURCES[i].label;
    for (std::size_t i = 0; i < SOUND_RESOURCE_COUNT; i++)
        EXPECT_NE(nullptr, store.getSound(SOUND_RESOURCES[i].label)) << SOUND_RESOURCES[i].file;
    for (std::size_t i = 0; i < MUSIC_RESOURCE_COUNT; i++) {
        vq::Music* p_music = store.getMusic(MUSIC_RESOURCES[i].label);
        ASSERT_NE(nullptr, p_music) << MUSIC_RESOURCES[i].file;
        p_music->play(true);
        p_music->stop();
    }
    EXPECT_EQ(std::vector<std::string>(), problems());
}

// Effects overlap (a harvest, the ripening chime and a pest in one step). Four
// of the loudest sounding at once stay below full scale: started together,
// and however else they overlap, since their peaks add up to less.
TEST_F(ShippedResourcesTest, FourLoudestEffectsTogetherStayBelowFullScale) {
    struct Effect {
        std::string file;
        std::vector<std::int16_t> samples;
        int peak;
    };
    std::vector<Effect> effects;
    for (std::size_t i = 0; i < SOUND_RESOURCE_COUNT; i++) {
        sf::SoundBuffer buffer;
        ASSERT_TRUE(buffer.loadFromFile(SOUND_RESOURCES[i].file)) << SOUND_RESOURCES[i].file;
        ASSERT_EQ(1u, buffer.getChannelCount()) << SOUND_RESOURCES[i].file;
        Effect e{SOUND_RESOURCES[i].file, {buffer.getSamples(), buffer.getSamples() + buffer.getSampleCount()}, 0};
        for (const std::int16_t s : e.samples)
            e.peak = std::max(e.peak, std::abs(static_cast<int>(s)));
        effects.push_back(e);
    }
    ASSERT_GE(effects.size(), 4u);
    std::stable_sort(effects.begin(), effects.end(), [](const Effect& a, const Effect& b) { return a.peak > b.peak; });
    effects.resize(4);

    const int FULL_SCALE = 32767;
    std::vector<int> mix;
    int peaks = 0;
    std::string names;
    for (const Effect& e : effects) {
        mix.resize(std::max(mix.size(), e.samples.size()), 0);
        for (std::size_t i = 0; i < e.samples.size(); i++)
            mix[i] += e.samples[i];
        peaks += e.peak;
        names += " " + e.file;
    }
    int mixed_peak = 0;
    for (const int s : mix)
        mixed_peak = std::max(mixed_peak, std::abs(s));
    EXPECT_LT(mixed_peak, FULL_SCALE) << "started together:" << names;
    EXPECT_LT(peaks, FULL_SCALE) << "peaks added up:" << names;
}

// Away from the data files every load fails, in table order, and loading
// goes on; a file that is there still loads.
TEST(ResourceTable, LoadingGoesOnPastMissingFilesInTableOrder) {
    vqtest::useSilentAudioOutput();
    TempDir dir;
    dir.write("sprites/pumpkin.txt", "1\n1\n1\n1\nyellow\no");
    ASSERT_EQ(0, vq::LogManager::getInstance().startUp());
    vq::LogManager::getInstance().setFlush(true);
    vq::LogManager::getInstance().setLogLevel(-1);
    vq::LogManager::getInstance().setLogLevel(0);
    ResourceManager& store = ResourceManager::getInstance();
    ASSERT_EQ(0, store.startUp());
    loadResources();

    std::vector<std::string> expected;
    for (std::size_t i = 0; i < SPRITE_RESOURCE_COUNT; i++)
        if (std::string(SPRITE_RESOURCES[i].label) != "pumpkin")
            expected.push_back(std::string("Failed to open sprite file '") + SPRITE_RESOURCES[i].file + "'");
    for (std::size_t i = 0; i < SOUND_RESOURCE_COUNT; i++)
        expected.push_back(std::string("Failed to load sound from file '") + SOUND_RESOURCES[i].file + "'");
    expected.push_back(std::string("Failed to load music from file '") + MUSIC_RESOURCES[0].file + "'");
    EXPECT_EQ(expected, messageLines());
    EXPECT_NE(nullptr, store.getSprite("pumpkin"));
    EXPECT_EQ(nullptr, store.getSprite("plot_empty"));
    EXPECT_EQ(nullptr, store.getMusic("lounge"));
    store.shutDown();
    vq::LogManager::getInstance().shutDown();
}

} // namespace
