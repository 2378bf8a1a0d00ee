#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

#include "ResourceTestUtil.h"
#include "SoundCapture.h"
#include "TempDir.h"
#include "WavCapture.h"
#include "core/LogManager.h"
#include "resources/ResourceManager.h"

using vq::ResourceManager;
using vqtest::TempDir;

namespace {

struct Segment {
    double start;    // seconds
    double duration; // seconds
};

// Stretches of sound, found from the loudness of 10 ms windows; pauses
// shorter than 50 ms do not split a stretch.
std::vector<Segment> loudSegments(const vqtest::WavCapture& wav) {
    const long window = wav.rate() / 100;
    std::vector<bool> loud;
    for (long at = 0; at + window <= wav.frames(); at += window)
        loud.push_back(wav.rms(at, window) > 500.0 / 32768);
    std::vector<Segment> segments;
    std::size_t i = 0;
    while (i < loud.size()) {
        if (!loud[i]) {
            i++;
            continue;
        }
        std::size_t end = i;
        std::size_t quiet = 0;
        for (std::size_t j = i; j < loud.size() && quiet < 5; j++) {
            if (loud[j]) {
                end = j;
                quiet = 0;
            } else {
                quiet++;
            }
        }
        segments.push_back({i / 100.0, (end - i + 1) / 100.0});
        i = end + 1;
    }
    return segments;
}

// Plays a 0.4 s effect, then after a pause the 1 s music, through the store,
// into a captured WAV file. The playing happens in a child process with an
// audio device of its own.
TEST(AudioOutput, EffectAndMusicReachTheOutputWithTheirLengths) {
    TempDir dir;
    vqtest::SoundCapture capture(dir.path(), dir.path() + "/out.wav", 1);
    ASSERT_TRUE(capture.start()) << capture.error();
    vqtest::writeToneWav("effect.wav", 8820, 22050, 660.0, 0.5);

    std::fflush(nullptr);
    const pid_t child = fork();
    ASSERT_NE(-1, child);
    if (child == 0) {
        capture.apply();
        int failures = 0;
        vq::LogManager::getInstance().startUp();
        ResourceManager& store = ResourceManager::getInstance();
        store.startUp();
        failures += store.loadSound("effect.wav", "effect") != 0;
        failures += store.loadMusic(std::string(VQ_TEST_DATA) + "/tone_1s.mp3", "tune") != 0;
        if (failures == 0) {
            store.getSound("effect")->play(false);
            std::this_thread::sleep_for(std::chrono::milliseconds(900));
            store.getMusic("tune")->play(false);
            std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        }
        // Without audio objects the device closes, which completes a file
        // that OpenAL writes.
        store.unloadSound("effect");
        if (vq::Music* p_music = store.getMusic("tune"))
            *p_music = vq::Music();
        store.shutDown();
        vq::LogManager::getInstance().shutDown();
        // A forked child of a threaded process ends without running exit
        // handlers, which belong to the parent's libraries (the GL driver's).
        _exit(failures == 0 ? 0 : 3);
    }
    int status = 0;
    ASSERT_EQ(child, waitpid(child, &status, 0));
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(0, WEXITSTATUS(status)) << "loading failed in the playing process";
    capture.finish();

    vqtest::WavCapture wav;
    ASSERT_TRUE(wav.read(capture.wavPath()));
    ASSERT_EQ(1, wav.channels());
    ASSERT_GT(wav.rate(), 0);
    const double recorded = static_cast<double>(wav.frames()) / wav.rate();
    EXPECT_GT(recorded, 2.0);

    const std::vector<Segment> segments = loudSegments(wav);
    std::string found;
    for (const Segment& segment : segments)
        found += " [" + std::to_string(segment.start) + " s, " + std::to_string(segment.duration) + " s]";
    SCOPED_TRACE("recorded " + std::to_string(recorded) + " s, loud:" + found);
    // The effect first; the music after it, possibly split where a busy
    // machine let the stream run dry for a moment.
    ASSERT_GE(segments.size(), 2u);
    EXPECT_NEAR(0.4, segments[0].duration, 0.06);
    double music = 0;
    for (std::size_t i = 1; i < segments.size(); i++)
        music += segments[i].duration;
    EXPECT_NEAR(1.0, music, 0.08);
    const double gap = segments[1].start - segments[0].start;
    EXPECT_GE(gap, 0.85);
    EXPECT_LE(gap, 1.6);
}

} // namespace
