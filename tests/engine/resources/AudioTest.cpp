// Sounds and music, the MP3 reader, playing without a device; the game's
// resource table and the headroom of its shipped sounds.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include <velloq/core/DataFolder.h>
#include <velloq/display/SfmlCompat.h>
#include <velloq/resources/ResourceManager.h>
#include <velloq/resources/Sprite.h>

#include "Audio.h"
#include "AudioOutput.h"
#include "LogCapture.h"
#include "flow/GameData.h"
#include "flow/ResourceTable.h"

using vq::Music;
using vq::ResourceManager;
using vq::Sound;
using vqtest::LogCapture;

namespace {

const std::string MP3 = std::string(VQ_TEST_DATA) + "/tone_1s.mp3";
const std::string FLAC = std::string(VQ_TEST_DATA) + "/flac_sync_without_header.bin";

// A mono 440 Hz tone of `samples` samples, written by the sound generator.
void writeToneWav(const std::string& path, int samples) {
    soundgen::Audio tone(1, static_cast<size_t>(samples));
    for (size_t i = 0; i < tone.samples.size(); i++)
        tone.samples[i] = 0.5f * static_cast<float>(std::sin(2 * M_PI * 440.0 * i / soundgen::kSampleRate));
    soundgen::writeWav(path, tone);
}

// Audio goes to an output that goes nowhere, chosen before the first audio object exists.
class StoreTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { vqtest::useSilentAudioOutput(); }
    void SetUp() override {
        ASSERT_EQ(0, store().startUp());
        writeToneWav("tone.wav", 2205);
    }
    void TearDown() override { store().shutDown(); }
    static ResourceManager& store() { return ResourceManager::getInstance(); }
    static unsigned long long samplesOf(const Sound* p_sound) {
        const sf::SoundBuffer* p_buffer = vq::priv::soundBufferOf(p_sound->getSound());
        return p_buffer == nullptr ? 0 : p_buffer->getSampleCount();
    }
    vqtest::TempDir dir;
    LogCapture log;
};

// The three stores hold their kind under unique, case-sensitive labels up to
// their capacity; a failed load takes no slot, and after an unload the
// others keep their own contents.
TEST_F(StoreTest, StoresKeepUniqueLabelsUpToTheirCapacity) {
    dir.write("s.txt", "1\n1\n1\n1\nred\nx");
    dir.write("junk.wav", "RIFF but not really a sound file");
    const struct Kind {
        std::string name, file;
        int capacity;
        int (ResourceManager::*load)(std::string, std::string);
        int (ResourceManager::*unload)(std::string);
    } kinds[] = {{"sprite", "s.txt", vq::MAX_SPRITES, &ResourceManager::loadSprite, &ResourceManager::unloadSprite},
                 {"sound", "tone.wav", vq::MAX_SOUNDS, &ResourceManager::loadSound, &ResourceManager::unloadSound},
                 {"music", "tone.wav", vq::MAX_MUSICS, &ResourceManager::loadMusic, &ResourceManager::unloadMusic}};
    EXPECT_EQ(-1, store().loadMusic("tone.wav", ""));
    EXPECT_EQ(LogCapture::last(), "Music label cannot be empty string");
    EXPECT_EQ(-1, store().unloadMusic("")) << "the empty label marks free music slots";
    for (const Kind& k : kinds) {
        SCOPED_TRACE(k.name);
        const auto load = [&](const std::string& file, const std::string& label) {
            return (store().*k.load)(file, label);
        };
        const auto unload = [&](const std::string& label) { return (store().*k.unload)(label); };
        ASSERT_TRUE(load(k.file, "a") == 0 && load(k.file, "b") == 0);
        EXPECT_EQ(-1, load("missing", "b"));
        EXPECT_EQ(LogCapture::last(),
                  "Failed to add " + k.name + " with label 'b', a " + k.name + " already exists with that label");
        // Found by fuzzing: bytes that look like a FLAC frame open as a stream
        // of no channels, which divided by zero when played.
        EXPECT_TRUE(load("missing.txt", "c") == -1 && load("junk.wav", "c") == -1 && load(FLAC, "c") == -1);
        EXPECT_EQ(-1, unload("B")) << "labels are case-sensitive";
        ASSERT_EQ(0, unload("a"));
        EXPECT_EQ(-1, unload("a"));
        EXPECT_EQ(LogCapture::last(), "Failed to find " + k.name + " with label 'a' to unload");
        ASSERT_EQ(0, load(k.file, "a")) << "the label is free again";
        for (int i = k.name == "music" ? 3 : 2; i < k.capacity; i++)
            ASSERT_EQ(0, load(k.file, "more" + std::to_string(i)));
        EXPECT_EQ(-1, load(k.file, "one more"));
        EXPECT_EQ(LogCapture::last(),
                  "Failed to add " + k.name + ", " + k.name + (k.name == "sprite" ? "" : "s") + " array is full");
    }
    EXPECT_EQ(2205u, samplesOf(store().getSound("b"))) << "moved with its own samples";
}

TEST_F(StoreTest, PlayingLoopsAsAskedAndASoundNeverLoadedOnlyComplains) {
    ASSERT_EQ(0, store().loadSound("tone.wav", "s"));
    ASSERT_EQ(0, store().loadMusic("tone.wav", "m"));
    for (bool loop : {true, false}) {
        store().getSound("s")->play(loop);
        store().getMusic("m")->play(loop);
        EXPECT_EQ(vq::priv::isLooping(store().getSound("s")->getSound()), loop);
        EXPECT_EQ(vq::priv::isLooping(*store().getMusic("m")->getMusic()), loop);
    }
    store().getMusic("m")->stop();
    Sound sound;
    sound.play();
    sound.stop();
    EXPECT_EQ(LogCapture::last(), "Cannot stop sound before it is loaded.");
    ASSERT_EQ(0, sound.loadSound("tone.wav"));
    EXPECT_EQ(-1, sound.loadSound("missing.wav"));
    EXPECT_EQ(2205u, samplesOf(&sound)) << "a failed reload keeps what it had";
}

TEST_F(StoreTest, Mp3DecodesToTheExactLengthSeeksAndLeavesOtherFormatsAlone) {
    ASSERT_EQ(0, store().loadMusic(MP3, "tone"));
    const sf::Music* p_music = store().getMusic("tone")->getMusic();
    EXPECT_EQ(std::to_string(p_music->getSampleRate()) + " Hz, " + std::to_string(p_music->getChannelCount()),
              "44100 Hz, 1");
    EXPECT_NEAR(1.0, p_music->getDuration().asSeconds(), 0.001) << "gapless: the encoder's padding is dropped";
    ASSERT_EQ(0, store().loadSound(MP3, "mp3"));
    const sf::SoundBuffer* p_buffer = vq::priv::soundBufferOf(store().getSound("mp3")->getSound());
    ASSERT_EQ(44100u, p_buffer->getSampleCount());
    EXPECT_GT(*std::max_element(p_buffer->getSamples(), p_buffer->getSamples() + 44100), 8000);
    sf::InputSoundFile file; // a seek lands where reading from the start would
    std::vector<std::int16_t> all(44100), tail(100);
    ASSERT_TRUE(file.openFromFile(MP3) && file.read(all.data(), all.size()) == 44100u);
    EXPECT_EQ(0u, file.read(all.data(), all.size()));
    file.seek(std::uint64_t(22050));
    ASSERT_EQ(100u, file.read(tail.data(), tail.size()));
    for (int i = 0; i < 100; i++)
        EXPECT_NEAR(all[22050 + i], tail[i], 50) << i;
    ASSERT_EQ(0, store().loadSound("tone.wav", "tone"));
    EXPECT_EQ(2205u, samplesOf(store().getSound("tone"))) << "a WAV is still read as a WAV";
    dir.write("cut.mp3", vqtest::TempDir::read(MP3).substr(0, 3));
    dir.write("noise.mp3", std::string(5000, '\x5a'));
    EXPECT_FALSE(sf::InputSoundFile().openFromFile("cut.mp3") || sf::InputSoundFile().openFromFile("noise.mp3"));
}

// Without any audio device the game runs silently: loading and playing still
// succeed, no stream is started (it would spin reporting errors) and the log
// says so once.
TEST(SilentAudio, NothingFailsWithoutAnAudioDevice) {
    vqtest::TempDir dir;
    LogCapture log;
    vqtest::useMissingAudioDevice(dir.path());
    ResourceManager& store = ResourceManager::getInstance();
    ASSERT_EQ(0, store.startUp());
    writeToneWav("tone.wav", 2205);
    ASSERT_EQ(0, store.loadSound("tone.wav", "beep"));
    ASSERT_EQ(0, store.loadMusic(MP3, "tune"));
    for (int i = 0; i < 2; i++) {
        store.getSound("beep")->play();
        store.getMusic("tune")->play(true);
        EXPECT_EQ(sf::SoundSource::Status::Stopped, store.getMusic("tune")->getMusic()->getStatus());
    }
    store.getMusic("tune")->pause();
    store.getSound("beep")->stop();
    const std::vector<std::string> lines = LogCapture::messages();
    EXPECT_EQ(1, std::count(lines.begin(), lines.end(), "No audio device, sounds and music are silent"));
    store.shutDown();
}

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
const char* const SOUNDS[] = {"crop_done", "crop_harvest",  "crop_plant",     "fertilizer_drop", "fertilizer_pickup",
                              "game_over", "pest_hurt",     "pest_plot_hit",  "shop_fail",       "shop_success",
                              "success",   "watering_drop", "watering_pickup"};

// Every file made up here with contents of its own shows which label it went to.
TEST_F(StoreTest, EveryFileOfTheResourceTableLoadsUnderItsLabelInTableOrder) {
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
        writeToneWav(dir.path() + "/sounds/" + SOUNDS[i] + ".wav", 100 + i);
    dir.write("music/pumpkin_lounge.mp3", vqtest::TempDir::read(VQ_TEST_DATA "/tone_1s.mp3"));
    EXPECT_TRUE(loadResources().empty());
    EXPECT_EQ(LogCapture::messages(), expected);
    for (size_t i = 0; i < table.size(); i++) {
        const vq::Sprite* p = store().getSprite(table[i].second);
        ASSERT_NE(p, nullptr) << table[i].second;
        EXPECT_EQ(p->getFrame(0).getString(), std::string(1, static_cast<char>('A' + i))) << table[i].second;
    }
    for (int i = 0; i < 13; i++) {
        ASSERT_NE(store().getSound(SOUNDS[i]), nullptr) << SOUNDS[i];
        EXPECT_EQ(samplesOf(store().getSound(SOUNDS[i])), 100u + i) << SOUNDS[i];
    }
    EXPECT_NE(store().getMusic("lounge"), nullptr);
}

// An installed game reads its data from the data folder, not from where it
// was started: a damaged install is reported with the paths read there.
TEST_F(StoreTest, FilesThatFailAreNamedWhereTheDataFolderHoldsThem) {
    const std::string data = dir.path() + "/data";
    std::filesystem::create_directory(data);
    for (const char* folder : {"sprites", "sounds", "music"})
        std::filesystem::copy(std::string(VQ_DATA_DIR) + "/" + folder, data + "/" + folder,
                              std::filesystem::copy_options::recursive);
    std::filesystem::remove(data + "/sounds/crop_plant.wav");
    dir.write("data/sprites/pumpkin.txt", "not a sprite");
    vq::setDataFolder(data);
    EXPECT_EQ(-1, loadGameData());
    const std::string log = vqtest::TempDir::read(vq::LOGFILE_NAME);
    for (const std::string& line :
         {"Data file " + data + "/sprites/pumpkin.txt is damaged: it cannot be read as a sprite",
          "Data file " + data + "/sounds/crop_plant.wav is missing",
          std::string("(2 of its 51 files did not load): reinstall it")})
        EXPECT_NE(log.find(line + "\n"), std::string::npos) << line;
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
