#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

#include "ResourceTestUtil.h"
#include "TempDir.h"
#include "core/LogManager.h"
#include "resources/ResourceManager.h"

using vq::ResourceManager;
using vqtest::TempDir;

namespace {

struct Wav {
    int channels = 0;
    int sample_rate = 0;
    int bits = 0;
    std::vector<int16_t> samples; // interleaved
};

uint32_t le32(const std::string& s, std::size_t at) {
    return static_cast<uint32_t>(static_cast<unsigned char>(s[at])) |
           static_cast<uint32_t>(static_cast<unsigned char>(s[at + 1])) << 8 |
           static_cast<uint32_t>(static_cast<unsigned char>(s[at + 2])) << 16 |
           static_cast<uint32_t>(static_cast<unsigned char>(s[at + 3])) << 24;
}

uint16_t le16(const std::string& s, std::size_t at) {
    return static_cast<uint16_t>(static_cast<unsigned char>(s[at]) | static_cast<unsigned char>(s[at + 1]) << 8);
}

// Reads the fmt chunk and everything behind the data chunk header.
Wav readWav(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Wav wav;
    if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0)
        return wav;
    std::size_t at = 12;
    while (at + 8 <= bytes.size()) {
        const std::string id = bytes.substr(at, 4);
        const uint32_t size = le32(bytes, at + 4);
        if (id == "fmt " && at + 24 <= bytes.size()) {
            wav.channels = le16(bytes, at + 10);
            wav.sample_rate = static_cast<int>(le32(bytes, at + 12));
            wav.bits = le16(bytes, at + 22);
        } else if (id == "data") {
            for (std::size_t i = at + 8; i + 1 < bytes.size(); i += 2)
                wav.samples.push_back(static_cast<int16_t>(le16(bytes, i)));
            break;
        }
        at += 8 + size + (size & 1);
    }
    return wav;
}

struct Segment {
    double start;    // seconds
    double duration; // seconds
};

// Stretches of sound, found from the loudness of 10 ms windows; pauses
// shorter than 50 ms do not split a stretch.
std::vector<Segment> loudSegments(const Wav& wav) {
    const int window = wav.sample_rate / 100 * wav.channels;
    std::vector<bool> loud;
    for (std::size_t at = 0; at + window <= wav.samples.size(); at += window) {
        double sum = 0;
        for (int i = 0; i < window; i++)
            sum += static_cast<double>(wav.samples[at + i]) * wav.samples[at + i];
        loud.push_back(std::sqrt(sum / window) > 500.0);
    }
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
// with OpenAL writing its output to a WAV file. The playing happens in a
// child process so that the audio device is closed, and the file completed,
// when the child exits.
TEST(AudioOutput, EffectAndMusicReachTheOutputWithTheirLengths) {
    TempDir dir;
    const std::string out = dir.path() + "/out.wav";
    {
        std::ofstream conf(dir.path() + "/alsoft.conf");
        conf << "[general]\ndrivers = wave\nsample-type = int16\nchannels = mono\nfrequency = 44100\n"
             << "[wave]\nfile = " << out << "\n";
    }
    vqtest::writeToneWav("effect.wav", 8820, 22050, 660.0, 0.5);

    std::fflush(nullptr);
    const pid_t child = fork();
    ASSERT_NE(-1, child);
    if (child == 0) {
        setenv("ALSOFT_CONF", (dir.path() + "/alsoft.conf").c_str(), 1);
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
        store.shutDown();
        vq::LogManager::getInstance().shutDown();
        // exit, not _exit: the store's destructor closes the audio device.
        std::exit(failures == 0 ? 0 : 3);
    }
    int status = 0;
    ASSERT_EQ(child, waitpid(child, &status, 0));
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(0, WEXITSTATUS(status)) << "loading failed in the playing process";

    const Wav wav = readWav(out);
    ASSERT_EQ(16, wav.bits);
    ASSERT_EQ(1, wav.channels);
    ASSERT_GT(wav.sample_rate, 0);
    const double recorded = static_cast<double>(wav.samples.size()) / wav.sample_rate;
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
