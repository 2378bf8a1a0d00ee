#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include <SFML/Audio/SoundBuffer.hpp>

#include "LogCapture.h"
#include "SfmlTestCompat.h"
#include "WavCapture.h"
#include "flow/ResourceTable.h"
#include "resources/ResourceManager.h"
#include "resources/Sprite.h"

using vqtest::LogCapture;

namespace {

// The game's data, written out: each sprite as its file under sprites/
// (without ".txt") and its label, in loading order; each sound is
// sounds/<label>.wav.
std::vector<std::pair<std::string, std::string>> sprites() {
    std::istringstream table(R"(
        plot/empty plot_empty  plot/watered plot_watered  plot/fertile plot_fertile
        plot/watered_fertile plot_watered_fertile  modifiers/fertilizer fertilizer
        modifiers/watering_can watering_can  corn/growing corn_growing  corn/seeds corn_seeds
        corn/sprouts corn_sprouts  corn/yellow corn_yellow  corn/blue corn_blue  corn/red corn_red
        corn/purple corn_purple  corn/white corn_white  pumpkin pumpkin  pests/crow pest_crow  pests/fly pest_fly
        pests/crow_damage pest_crow_damaged  pests/fly_damage pest_fly_damaged  text/gameover text_gameover
        text/passed text_passed  text/title text_title)");
    std::vector<std::pair<std::string, std::string>> list;
    for (std::string file, label; table >> file >> label;)
        list.emplace_back("sprites/" + file + ".txt", label);
    for (const char* upgrade : {"red_corn", "blue_corn", "purple_corn", "white_corn", "fresher_water", "when_it_rains",
                                "fertilizer", "stuffed_bags", "fast_supplier", "field_work", "scarecrow", "bug_spray",
                                "bug_net", "instant_scythe", "seed_drill"})
        list.emplace_back(std::string("sprites/upgrades/") + upgrade + ".txt", std::string("upg-") + upgrade);
    return list;
}
const char* const SOUNDS[] = {"crop_done",   "crop_harvest", "crop_plant",     "fertilizer_drop", "fertilizer_pickup",
                              "game_over",   "pest_hurt",    "pest_plot_hit",  "shop_fail",       "shop_success",
                              "success",     "watering_drop", "watering_pickup"};

// Every file made up here with contents of its own shows which label it went to.
TEST(ResourceTable, EveryFileLoadsUnderItsLabelInTableOrder) {
    vqtest::useSilentAudioOutput();
    vqtest::TempDir dir;
    LogCapture log;
    vq::ResourceManager& store = vq::ResourceManager::getInstance();
    ASSERT_EQ(0, store.startUp());
    const auto table = sprites();
    ASSERT_EQ(table.size(), 37u);
    std::vector<std::string> expected;
    for (size_t i = 0; i < table.size(); i++) {
        dir.write(table[i].first, "1\n1\n1\n1\nwhite\n" + std::string(1, static_cast<char>('A' + i)));
        expected.push_back("Read headers in sprite file '" + table[i].first +
                           "': Frames: 1, Width: 1, Height: 1, Slowdown: 1, Color: white");
        expected.push_back("Read frame 1 in sprite file '" + table[i].first + "'");
    }
    std::filesystem::create_directory("sounds");
    for (int i = 0; i < 13; i++)
        vqtest::writeToneWav(dir.path() + "/sounds/" + SOUNDS[i] + ".wav", 100 + i);
    dir.write("music/pumpkin_lounge.mp3", vqtest::TempDir::read(VQ_TEST_DATA "/tone_1s.mp3"));
    loadResources();
    EXPECT_EQ(LogCapture::messages(), expected);
    for (size_t i = 0; i < table.size(); i++) {
        const vq::Sprite* p = store.getSprite(table[i].second);
        ASSERT_NE(p, nullptr) << table[i].second;
        EXPECT_EQ(p->getFrame(0).getString(), std::string(1, static_cast<char>('A' + i))) << table[i].second;
    }
    for (int i = 0; i < 13; i++) {
        ASSERT_NE(store.getSound(SOUNDS[i]), nullptr) << SOUNDS[i];
        EXPECT_EQ(vqtest::bufferOf(store.getSound(SOUNDS[i])->getSound())->getSampleCount(), 100u + i) << SOUNDS[i];
    }
    EXPECT_NE(store.getMusic("lounge"), nullptr);
    store.shutDown();
}

// Effects overlap (a harvest, the ripening chime and a pest in one step).
// Four of the loudest sounding at once stay below full scale however they
// overlap, since their peaks add up to less.
TEST(ShippedSounds, FourLoudestEffectsTogetherStayBelowFullScale) {
    vqtest::useSilentAudioOutput();
    std::vector<int> peaks;
    for (const char* label : SOUNDS) {
        sf::SoundBuffer buffer;
        ASSERT_TRUE(buffer.loadFromFile(std::string(VQ_DATA_DIR "/sounds/") + label + ".wav")) << label;
        ASSERT_EQ(1u, buffer.getChannelCount()) << label;
        int peak = 0;
        for (std::uint64_t i = 0; i < buffer.getSampleCount(); i++)
            peak = std::max(peak, std::abs(static_cast<int>(buffer.getSamples()[i])));
        peaks.push_back(peak);
    }
    std::sort(peaks.rbegin(), peaks.rend());
    EXPECT_LT(peaks[0] + peaks[1] + peaks[2] + peaks[3], 32767);
}

} // namespace
