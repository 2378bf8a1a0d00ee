#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <SFML/Audio/InputSoundFile.hpp>
#include <SFML/Audio/Music.hpp>
#include <SFML/Audio/Sound.hpp>
#include <SFML/Audio/SoundBuffer.hpp>

#include "ResourceTestUtil.h"
#include "SfmlTestCompat.h"
#include "TempDir.h"
#include "core/LogManager.h"
#include "resources/Mp3Reader.h"
#include "resources/ResourceManager.h"

using vq::Music;
using vq::ResourceManager;
using vq::Sound;
using vqtest::logHas;
using vqtest::messageLines;
using vqtest::TempDir;
using vqtest::writeToneWav;

namespace {

const std::string MP3_FIXTURE = std::string(VQ_TEST_DATA) + "/tone_1s.mp3";

// Audio goes to an output that goes nowhere, set before the first audio
// object exists.
class AudioTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { vqtest::useSilentAudioOutput(); }
    void SetUp() override {
        ASSERT_EQ(0, vq::LogManager::getInstance().startUp());
        vq::LogManager::getInstance().setFlush(true);
        vq::LogManager::getInstance().setLogLevel(-1);
        ASSERT_EQ(0, store().startUp());
        writeToneWav("tone.wav", 2205);
    }
    void TearDown() override {
        store().shutDown();
        vq::LogManager::getInstance().shutDown();
    }
    static ResourceManager& store() { return ResourceManager::getInstance(); }
    static unsigned long long samplesOf(Sound* p_sound) {
        const sf::SoundBuffer* p_buffer = vqtest::bufferOf(p_sound->getSound());
        return p_buffer == nullptr ? 0 : p_buffer->getSampleCount();
    }
    TempDir dir;
};

TEST_F(AudioTest, The51stSoundIsRefused) {
    for (int i = 0; i < vq::MAX_SOUNDS; i++)
        ASSERT_EQ(0, store().loadSound("tone.wav", "s" + std::to_string(i)));
    EXPECT_EQ(-1, store().loadSound("tone.wav", "one more"));
    EXPECT_TRUE(logHas("Failed to add sound, sounds array is full"));
    EXPECT_EQ(nullptr, store().getSound("one more"));
    EXPECT_NE(nullptr, store().getSound("s49"));
}

TEST_F(AudioTest, SoundLabelsAreUniqueAndMayBeEmpty) {
    ASSERT_EQ(0, store().loadSound("tone.wav", "beep"));
    EXPECT_EQ(-1, store().loadSound("missing.wav", "beep"));
    EXPECT_TRUE(logHas("Failed to add sound with label 'beep', a sound already exists with that label"));
    EXPECT_FALSE(logHas("Failed to load sound from file 'missing.wav'"));
    EXPECT_EQ(0, store().loadSound("tone.wav", ""));
    EXPECT_NE(nullptr, store().getSound(""));
    EXPECT_EQ(nullptr, store().getSound("Beep"));
}

TEST_F(AudioTest, UnloadingShiftsLaterSoundsWithTheirOwnSamples) {
    writeToneWav("a.wav", 1000);
    writeToneWav("b.wav", 2000);
    writeToneWav("c.wav", 3000);
    ASSERT_EQ(0, store().loadSound("a.wav", "a"));
    ASSERT_EQ(0, store().loadSound("b.wav", "b"));
    ASSERT_EQ(0, store().loadSound("c.wav", "c"));
    ASSERT_EQ(0, store().unloadSound("a"));
    EXPECT_EQ(nullptr, store().getSound("a"));
    ASSERT_NE(nullptr, store().getSound("b"));
    ASSERT_NE(nullptr, store().getSound("c"));
    EXPECT_EQ(2000u, samplesOf(store().getSound("b")));
    EXPECT_EQ(3000u, samplesOf(store().getSound("c")));
    store().getSound("c")->play();
    store().getSound("b")->play(true);
    EXPECT_TRUE(vqtest::isLooping(store().getSound("b")->getSound()));

    // Two remain: 48 more fit, the 49th does not.
    for (int i = 0; i < vq::MAX_SOUNDS - 2; i++)
        ASSERT_EQ(0, store().loadSound("tone.wav", "more" + std::to_string(i)));
    EXPECT_EQ(-1, store().loadSound("tone.wav", "full"));

    EXPECT_EQ(-1, store().unloadSound("a"));
    EXPECT_TRUE(logHas("Failed to find sound with label 'a' to unload"));
}

TEST_F(AudioTest, MissingOrUndecodableSoundFailsAndIsNotFound) {
    EXPECT_EQ(-1, store().loadSound("missing.wav", "gone"));
    EXPECT_EQ(nullptr, store().getSound("gone"));
    EXPECT_TRUE(logHas("Failed to load sound from file 'missing.wav'"));

    dir.write("junk.wav", "RIFF but not really a sound file");
    EXPECT_EQ(-1, store().loadSound("junk.wav", "junk"));
    EXPECT_EQ(nullptr, store().getSound("junk"));
    // The failed loads used no slot.
    EXPECT_EQ(0, store().loadSound("tone.wav", "gone"));
}

TEST_F(AudioTest, SoundNeverLoadedOnlyComplains) {
    Sound sound;
    EXPECT_FALSE(sound.isLoaded());
    sound.play();
    sound.pause();
    sound.stop();
    const std::vector<std::string> expected = {"Cannot play sound before it is loaded.",
                                               "Cannot pause sound before it is loaded.",
                                               "Cannot stop sound before it is loaded."};
    EXPECT_EQ(expected, messageLines());
    // Its playback object has nothing to play.
    const sf::Sound empty = sound.getSound();
    ASSERT_NE(nullptr, vqtest::bufferOf(empty));
    EXPECT_EQ(0u, vqtest::bufferOf(empty)->getSampleCount());

    // A failed load of a loaded sound keeps what it had.
    ASSERT_EQ(0, sound.loadSound("tone.wav"));
    EXPECT_EQ(-1, sound.loadSound("missing.wav"));
    EXPECT_TRUE(sound.isLoaded());
    EXPECT_EQ(2205u, vqtest::bufferOf(sound.getSound())->getSampleCount());
}

TEST_F(AudioTest, The51stMusicIsRefusedEvenAfterUnloads) {
    for (int i = 0; i < vq::MAX_MUSICS; i++)
        ASSERT_EQ(0, store().loadMusic("tone.wav", "m" + std::to_string(i)));
    for (int i = 0; i < 5; i++)
        ASSERT_EQ(0, store().unloadMusic("m" + std::to_string(i)));
    EXPECT_EQ(-1, store().loadMusic("tone.wav", "m0"));
    EXPECT_TRUE(logHas("Failed to add music, musics array is full"));
    EXPECT_EQ(nullptr, store().getMusic("m0"));
    EXPECT_NE(nullptr, store().getMusic("m5"));
}

TEST_F(AudioTest, UnloadedMusicKeepsItsSlotButCannotBeFound) {
    ASSERT_EQ(0, store().loadMusic("tone.wav", "a"));
    ASSERT_EQ(0, store().loadMusic("tone.wav", "b"));
    Music* p_a = store().getMusic("a");
    Music* p_b = store().getMusic("b");
    ASSERT_EQ(0, store().unloadMusic("a"));
    EXPECT_EQ(nullptr, store().getMusic("a"));
    EXPECT_EQ(nullptr, store().getMusic(""));
    EXPECT_EQ(p_b, store().getMusic("b"));
    EXPECT_EQ("", p_a->getLabel());
    EXPECT_EQ(-1, store().unloadMusic("a"));
    EXPECT_EQ(-1, store().unloadMusic(""));
    EXPECT_TRUE(logHas("Failed to find music with label 'a' to unload"));

    // The label is free again; the new music takes a new slot.
    ASSERT_EQ(0, store().loadMusic("tone.wav", "a"));
    EXPECT_NE(p_a, store().getMusic("a"));
}

TEST_F(AudioTest, MusicLabelsMustBeNonEmptyAndUnique) {
    EXPECT_EQ(-1, store().loadMusic("tone.wav", ""));
    ASSERT_EQ(0, store().loadMusic("tone.wav", "lounge"));
    EXPECT_EQ(-1, store().loadMusic("missing.mp3", "lounge"));
    EXPECT_EQ(-1, store().loadMusic("missing.mp3", "other"));
    EXPECT_EQ(nullptr, store().getMusic("other"));
    const std::vector<std::string> expected = {
        "Music label cannot be empty string",
        "Failed to add music with label 'lounge', a music already exists with that label",
        "Failed to load music from file 'missing.mp3'",
    };
    EXPECT_EQ(expected, messageLines());
}

// Found by fuzzing: these bytes look like a FLAC frame to the audio library,
// which opens them as a stream of zero channels; playing that stream divided
// by zero.
TEST_F(AudioTest, StreamsWithoutChannelsAreRefused) {
    const std::string file = std::string(VQ_TEST_DATA) + "/flac_sync_without_header.bin";
    EXPECT_EQ(-1, store().loadMusic(file, "broken"));
    EXPECT_EQ(nullptr, store().getMusic("broken"));
    EXPECT_EQ(-1, store().loadSound(file, "broken"));
    EXPECT_TRUE(logHas("Failed to load music from file '" + file + "'"));
    EXPECT_TRUE(logHas("Failed to load sound from file '" + file + "'"));
}

TEST_F(AudioTest, MusicCopiesStartClosedAndUnlabelled) {
    Music music;
    ASSERT_EQ(0, music.loadMusic("tone.wav"));
    music.setLabel("tune");
    Music copy(music);
    EXPECT_EQ("", copy.getLabel());
    EXPECT_EQ(0u, copy.getMusic()->getChannelCount());
    Music assigned;
    ASSERT_EQ(0, assigned.loadMusic("tone.wav"));
    assigned = music;
    EXPECT_EQ("", assigned.getLabel());
    EXPECT_EQ(0u, assigned.getMusic()->getChannelCount());
    EXPECT_EQ(1u, music.getMusic()->getChannelCount());
    // Playing a closed stream does nothing harmful.
    copy.play(true);
    copy.pause();
    copy.stop();
}

TEST_F(AudioTest, Mp3OpensAsMusicAndDecodesToTheExactLength) {
    ASSERT_EQ(0, store().loadMusic(MP3_FIXTURE, "tone"));
    sf::Music* p_music = store().getMusic("tone")->getMusic();
    EXPECT_EQ(44100u, p_music->getSampleRate());
    EXPECT_EQ(1u, p_music->getChannelCount());
    // Gapless decoding drops the encoder's padding: one second exactly.
    EXPECT_NEAR(1.0, p_music->getDuration().asSeconds(), 0.001);

    // Sounds read MP3 through the same reader; the samples are the tone.
    ASSERT_EQ(0, store().loadSound(MP3_FIXTURE, "tone"));
    const sf::Sound sound = store().getSound("tone")->getSound();
    const sf::SoundBuffer* p_buffer = vqtest::bufferOf(sound);
    ASSERT_EQ(44100u, p_buffer->getSampleCount());
    int peak = 0;
    for (std::size_t i = 0; i < p_buffer->getSampleCount(); i++)
        peak = std::max(peak, std::abs(static_cast<int>(p_buffer->getSamples()[i])));
    EXPECT_GT(peak, 8000);
}

TEST_F(AudioTest, Mp3ReaderSeeksAndLeavesOtherFormatsAlone) {
    sf::InputSoundFile file;
    ASSERT_TRUE(file.openFromFile(MP3_FIXTURE));
    std::vector<std::int16_t> all(44100);
    ASSERT_EQ(44100u, file.read(all.data(), all.size()));
    EXPECT_EQ(0u, file.read(all.data(), all.size()));
    file.seek(std::uint64_t(22050));
    std::vector<std::int16_t> tail(100);
    ASSERT_EQ(100u, file.read(tail.data(), tail.size()));
    for (int i = 0; i < 100; i++)
        EXPECT_NEAR(all[22050 + i], tail[i], 50) << i;

    // A WAV is still read by the WAV reader, sample for sample.
    writeToneWav("w.wav", 1234, 8000);
    sf::InputSoundFile wav;
    ASSERT_TRUE(wav.openFromFile("w.wav"));
    EXPECT_EQ(1234u, wav.getSampleCount());
    EXPECT_EQ(8000u, wav.getSampleRate());

    // Neither a truncated MP3 header nor random bytes crash or pass as audio.
    std::ifstream in(MP3_FIXTURE, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    dir.write("cut.mp3", bytes.substr(0, 3));
    dir.write("noise.mp3", std::string(5000, '\x5a'));
    EXPECT_FALSE(sf::InputSoundFile().openFromFile("cut.mp3"));
    EXPECT_FALSE(sf::InputSoundFile().openFromFile("noise.mp3"));
    // A damaged stream after a good start decodes what it can.
    dir.write("half.mp3", bytes.substr(0, bytes.size() / 2));
    sf::SoundBuffer half;
    if (half.loadFromFile("half.mp3")) {
        EXPECT_LT(half.getSampleCount(), 44100u);
    }
}

TEST(MpegAudioCheck, RecognisesFrameHeadersAndId3Tags) {
    // MPEG-1 layer III, 128 kbit/s, 44.1 kHz, no padding: 417-byte frames.
    std::vector<unsigned char> stream(417 * 2 + 4, 0);
    const unsigned char header[4] = {0xFF, 0xFB, 0x90, 0x00};
    for (int f = 0; f < 2; f++)
        std::copy(header, header + 4, stream.begin() + f * 417);
    EXPECT_TRUE(vq::looksLikeMpegAudio(stream.data(), stream.size()));

    // Second header in the wrong place: not a stream.
    std::vector<unsigned char> shifted = stream;
    shifted[417] = 0;
    EXPECT_FALSE(vq::looksLikeMpegAudio(shifted.data(), shifted.size()));

    // Behind an ID3v2 tag of 20 bytes and some zero padding.
    std::vector<unsigned char> tagged = {'I', 'D', '3', 3, 0, 0, 0, 0, 0, 20};
    tagged.resize(30 + 7, 0);
    tagged.insert(tagged.end(), stream.begin(), stream.end());
    EXPECT_TRUE(vq::looksLikeMpegAudio(tagged.data(), tagged.size()));

    const unsigned char riff[16] = {'R', 'I', 'F', 'F', 0x24, 0x08, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' '};
    EXPECT_FALSE(vq::looksLikeMpegAudio(riff, sizeof(riff)));
    EXPECT_FALSE(vq::looksLikeMpegAudio(header, 3));
    // Reserved version, bad bitrate, bad rate.
    for (unsigned char bad1 : {0xEB, 0xF9}) {
        const unsigned char h[4] = {0xFF, bad1, 0x90, 0x00};
        EXPECT_FALSE(vq::looksLikeMpegAudio(h, 4)) << int(bad1);
    }
    for (unsigned char bad2 : {0xF0, 0x0C, 0x9C}) {
        const unsigned char h[4] = {0xFF, 0xFB, bad2, 0x00};
        EXPECT_FALSE(vq::looksLikeMpegAudio(h, 4)) << int(bad2);
    }
    // An ID3 tag claiming more than there is.
    const unsigned char long_tag[10] = {'I', 'D', '3', 3, 0, 0, 0x7F, 0x7F, 0x7F, 0x7F};
    EXPECT_FALSE(vq::looksLikeMpegAudio(long_tag, sizeof(long_tag)));
}

// Without any usable audio device the game runs silently: loading and
// playing still succeed, but no stream is started (a started one would spin
// in its thread reporting errors) and the log says so once.
TEST(SilentAudio, NothingFailsWithoutAnAudioDevice) {
    TempDir dir;
    vqtest::useMissingAudioDevice(dir.path());
    ASSERT_EQ(0, vq::LogManager::getInstance().startUp());
    vq::LogManager::getInstance().setFlush(true);
    vq::LogManager::getInstance().setLogLevel(-1);
    ResourceManager& store = ResourceManager::getInstance();
    ASSERT_EQ(0, store.startUp());
    writeToneWav("tone.wav", 2205);
    ASSERT_EQ(0, store.loadSound("tone.wav", "beep"));
    ASSERT_EQ(0, store.loadMusic(MP3_FIXTURE, "tune"));
    store.getSound("beep")->play();
    store.getMusic("tune")->play(true);
    EXPECT_EQ(sf::SoundSource::Status::Stopped, store.getMusic("tune")->getMusic()->getStatus());
    store.getMusic("tune")->play(true);
    const std::vector<std::string> lines = messageLines();
    EXPECT_EQ(1, std::count(lines.begin(), lines.end(), "No audio device, sounds and music are silent"));
    store.getMusic("tune")->pause();
    store.getSound("beep")->stop();
    store.getMusic("tune")->stop();
    EXPECT_EQ(0, store.unloadSound("beep"));
    store.shutDown();
    vq::LogManager::getInstance().shutDown();
}

} // namespace
