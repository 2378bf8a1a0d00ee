#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include <SFML/Audio/InputSoundFile.hpp>
#include <SFML/Audio/Music.hpp>
#include <SFML/Audio/Sound.hpp>
#include <SFML/Audio/SoundBuffer.hpp>

#include "LogCapture.h"
#include "SfmlTestCompat.h"
#include "WavCapture.h"
#include "resources/ResourceManager.h"

using vq::Music;
using vq::ResourceManager;
using vq::Sound;
using vqtest::LogCapture;

namespace {

const std::string MP3 = std::string(VQ_TEST_DATA) + "/tone_1s.mp3";

// Audio goes to an output that goes nowhere, chosen before the first audio object exists.
class AudioTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { vqtest::useSilentAudioOutput(); }
    void SetUp() override {
        ASSERT_EQ(0, store().startUp());
        vqtest::writeToneWav("tone.wav", 2205);
    }
    void TearDown() override { store().shutDown(); }
    static ResourceManager& store() { return ResourceManager::getInstance(); }
    static unsigned long long samplesOf(const Sound* p_sound) {
        const sf::SoundBuffer* p_buffer = vqtest::bufferOf(p_sound->getSound());
        return p_buffer == nullptr ? 0 : p_buffer->getSampleCount();
    }
    vqtest::TempDir dir;
    LogCapture log;
};

TEST_F(AudioTest, SoundsAreStoredUnderUniqueLabelsFiftyAtMost) {
    for (int n : {1000, 2000, 3000})
        vqtest::writeToneWav(std::to_string(n) + ".wav", n);
    ASSERT_EQ(0, store().loadSound("1000.wav", "a"));
    ASSERT_EQ(0, store().loadSound("2000.wav", "b"));
    ASSERT_EQ(0, store().loadSound("3000.wav", ""));
    EXPECT_EQ(-1, store().loadSound("missing.wav", "b"));
    EXPECT_EQ(LogCapture::last(), "Failed to add sound with label 'b', a sound already exists with that label");
    EXPECT_EQ(nullptr, store().getSound("B"));
    ASSERT_EQ(0, store().unloadSound("a")); // later sounds move down with their own samples
    EXPECT_EQ(nullptr, store().getSound("a"));
    EXPECT_EQ(2000u, samplesOf(store().getSound("b")));
    EXPECT_EQ(3000u, samplesOf(store().getSound("")));
    store().getSound("b")->play(true);
    EXPECT_TRUE(vqtest::isLooping(store().getSound("b")->getSound()));
    store().getSound("")->play();
    EXPECT_FALSE(vqtest::isLooping(store().getSound("")->getSound()));
    EXPECT_EQ(-1, store().unloadSound("a"));
    EXPECT_EQ(LogCapture::last(), "Failed to find sound with label 'a' to unload");

    EXPECT_EQ(-1, store().loadSound("missing.wav", "gone"));
    EXPECT_EQ(LogCapture::last(), "Failed to load sound from file 'missing.wav'");
    dir.write("junk.wav", "RIFF but not really a sound file");
    EXPECT_EQ(-1, store().loadSound("junk.wav", "junk"));
    EXPECT_EQ(nullptr, store().getSound("junk"));
    for (int i = 2; i < vq::MAX_SOUNDS; i++) // failed loads took no slot
        ASSERT_EQ(0, store().loadSound("tone.wav", "s" + std::to_string(i)));
    EXPECT_EQ(-1, store().loadSound("tone.wav", "one more"));
    EXPECT_EQ(LogCapture::last(), "Failed to add sound, sounds array is full");
}

TEST_F(AudioTest, ASoundNeverLoadedOnlyComplainsAndAFailedReloadKeepsWhatItHad) {
    Sound sound;
    sound.play();
    sound.pause();
    sound.stop();
    EXPECT_EQ(LogCapture::messages(), (std::vector<std::string>{"Cannot play sound before it is loaded.",
                                                                "Cannot pause sound before it is loaded.",
                                                                "Cannot stop sound before it is loaded."}));
    EXPECT_EQ(0u, vqtest::bufferOf(sound.getSound())->getSampleCount());
    ASSERT_EQ(0, sound.loadSound("tone.wav"));
    EXPECT_EQ(-1, sound.loadSound("missing.wav"));
    EXPECT_TRUE(sound.isLoaded());
    EXPECT_EQ(2205u, samplesOf(&sound));
}

TEST_F(AudioTest, MusicsHaveNonEmptyUniqueLabelsAndKeepTheirSlotsFiftyAtMost) {
    EXPECT_EQ(-1, store().loadMusic("tone.wav", ""));
    EXPECT_EQ(LogCapture::last(), "Music label cannot be empty string");
    ASSERT_EQ(0, store().loadMusic("tone.wav", "a"));
    EXPECT_EQ(-1, store().loadMusic("missing.mp3", "a"));
    EXPECT_EQ(LogCapture::last(), "Failed to add music with label 'a', a music already exists with that label");
    EXPECT_EQ(-1, store().loadMusic("missing.mp3", "other"));
    EXPECT_EQ(LogCapture::last(), "Failed to load music from file 'missing.mp3'");
    Music* p_a = store().getMusic("a");
    p_a->play(false);
    EXPECT_FALSE(vqtest::isLooping(*p_a->getMusic()));
    p_a->play(true);
    EXPECT_TRUE(vqtest::isLooping(*p_a->getMusic()));
    p_a->stop();
    ASSERT_EQ(0, store().unloadMusic("a"));
    EXPECT_EQ(nullptr, store().getMusic("a"));
    EXPECT_EQ(nullptr, store().getMusic(""));
    EXPECT_EQ(-1, store().unloadMusic("a"));
    EXPECT_EQ(LogCapture::last(), "Failed to find music with label 'a' to unload");
    EXPECT_EQ(-1, store().unloadMusic(""));
    ASSERT_EQ(0, store().loadMusic("tone.wav", "a"));
    EXPECT_NE(p_a, store().getMusic("a")) << "the label is free again; the unloaded slot is not reused";
    for (int i = 2; i < vq::MAX_MUSICS; i++)
        ASSERT_EQ(0, store().loadMusic("tone.wav", "m" + std::to_string(i)));
    EXPECT_EQ(-1, store().loadMusic("tone.wav", "one more"));
    EXPECT_EQ(LogCapture::last(), "Failed to add music, musics array is full");
}

// Found by fuzzing: bytes that look like a FLAC frame open as a stream of no
// channels, which divided by zero when played.
TEST_F(AudioTest, StreamsWithoutChannelsAreRefused) {
    const std::string file = std::string(VQ_TEST_DATA) + "/flac_sync_without_header.bin";
    EXPECT_EQ(-1, store().loadMusic(file, "broken"));
    EXPECT_EQ(LogCapture::last(), "Failed to load music from file '" + file + "'");
    EXPECT_EQ(-1, store().loadSound(file, "broken"));
    EXPECT_EQ(LogCapture::last(), "Failed to load sound from file '" + file + "'");
}

TEST_F(AudioTest, Mp3DecodesToTheExactLengthSeeksAndLeavesOtherFormatsAlone) {
    ASSERT_EQ(0, store().loadMusic(MP3, "tone"));
    const sf::Music* p_music = store().getMusic("tone")->getMusic();
    EXPECT_EQ(44100u, p_music->getSampleRate());
    EXPECT_EQ(1u, p_music->getChannelCount());
    EXPECT_NEAR(1.0, p_music->getDuration().asSeconds(), 0.001) << "gapless: the encoder's padding is dropped";
    ASSERT_EQ(0, store().loadSound(MP3, "mp3"));
    ASSERT_EQ(0, store().loadSound("tone.wav", "tone"));
    const sf::SoundBuffer* p_buffer = vqtest::bufferOf(store().getSound("mp3")->getSound());
    ASSERT_EQ(44100u, p_buffer->getSampleCount());
    EXPECT_GT(*std::max_element(p_buffer->getSamples(), p_buffer->getSamples() + 44100), 8000);

    sf::InputSoundFile file;
    ASSERT_TRUE(file.openFromFile(MP3));
    std::vector<std::int16_t> all(44100), tail(100);
    ASSERT_EQ(44100u, file.read(all.data(), all.size()));
    EXPECT_EQ(0u, file.read(all.data(), all.size()));
    file.seek(std::uint64_t(22050));
    ASSERT_EQ(100u, file.read(tail.data(), tail.size()));
    for (int i = 0; i < 100; i++)
        EXPECT_NEAR(all[22050 + i], tail[i], 50) << i;

    EXPECT_EQ(2205u, samplesOf(store().getSound("tone"))) << "a WAV is still read as a WAV";
    const std::string bytes = vqtest::TempDir::read(MP3);
    dir.write("cut.mp3", bytes.substr(0, 3));
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
    vqtest::writeToneWav("tone.wav", 2205);
    ASSERT_EQ(0, store.loadSound("tone.wav", "beep"));
    ASSERT_EQ(0, store.loadMusic(MP3, "tune"));
    store.getSound("beep")->play();
    store.getMusic("tune")->play(true);
    EXPECT_EQ(sf::SoundSource::Status::Stopped, store.getMusic("tune")->getMusic()->getStatus());
    store.getMusic("tune")->play(true);
    store.getMusic("tune")->pause();
    store.getSound("beep")->stop();
    const std::vector<std::string> lines = LogCapture::messages();
    EXPECT_EQ(1, std::count(lines.begin(), lines.end(), "No audio device, sounds and music are silent"));
    store.shutDown();
}

} // namespace
