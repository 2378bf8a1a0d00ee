// The sound generator: its two description formats, WAV output, the
// seamless music loop, and the project's own description files.
#include "Arranger.h"
#include "Effects.h"
#include "Script.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

namespace {

using namespace soundgen;

// A mistake in a description file is reported with its line, so a bad edit
// is found before the sounds are made.
TEST(DescriptionFiles, NameTheLineOfAMistake) {
    const std::pair<const char*, int> errors[] = {{"sound a\n  voice freq=440\n  voice colour=red\nend\n", 3},
                                                  {"sound a\n  voice freq=nonsense\nend\n", 2},
                                                  {"voice freq=440\n", 1},
                                                  {"\nsound a\n  voice\n", 2}, // never closed
                                                  {"sound a\nend\n", 2},
                                                  {"sound a peak=2\n voice\nend\n", 1}, // no voices; would clip
                                                  {"sound a\n voice len=0.1 attack=0.2\nend\n", 2},
                                                  {"sound a\n voice\nend\nsound a\n voice\nend\n", 4}};
    for (const auto& e : errors) {
        int line = -1;
        try {
            parseEffects(e.first);
        } catch (const ParseError& error) {
            line = error.line();
        }
        EXPECT_EQ(line, e.second) << e.first;
    }
    const std::string head = "music m beats=4\nchords C | F | G | C\ninstrument d plays=hits\n voice\nend\n";
    EXPECT_NO_THROW(parseMusic(head + "pattern d x.x.x.x. | x...x...\n"));
    for (const std::string& bad :
         {head + "pattern d x.x.x.x. | x...x... | xxxxxxxx\n", // 3 bars in 4
          head + "pattern d x.x.5.x.\n", head + "pattern e x.x.x.x.\n", std::string("music m swing=0.95\nchords C\n")})
        EXPECT_THROW(parseMusic(bad), ParseError) << bad;
}

TEST(Wav, HeaderSamplesAndNormalising) {
    Audio audio(2, 3);
    audio.samples = {0.5f, -0.5f, 1.7f, -3.0f, 0.0f, 0.25f};
    const auto bytes = encodeWav(audio);
    // PCM, two channels, 44100 frames a second of four bytes, 16 bits; the
    // samples clipped to full scale.
    const char header[] = "RIFF\x30\0\0\0WAVEfmt \x10\0\0\0\x01\0\x02\0\x44\xac\0\0\x10\xb1\x02\0\x04\0\x10\0"
                          "data\x0c\0\0\0\0\x40\0\xc0\xff\x7f\x01\x80\0\0\0\x20";
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), std::string(header, sizeof(header) - 1));
    EXPECT_THROW(encodeWav(Audio(3, 10)), std::invalid_argument);
    normalise(audio, -6.0);
    EXPECT_NEAR(peakOf(audio), dbToGain(-6.0), 1e-6);
    EXPECT_NEAR(audio.samples[0] / audio.samples[3], -0.5 / 3, 1e-6);
    Audio silent(1, 3);
    normalise(silent, -3.0);
    EXPECT_EQ(peakOf(silent), 0.0) << "silence stays silence";
}

TEST(Music, TheLoopIsExactAndSeamless) {
    // Sustained tones ringing over the end, reverb and limiter: all must wrap round the seam.
    const char* const body = "instrument pad plays=chords low=C4 send=0.5\n voice wave=saw lp=2000 release=0.4\nend\n"
                             "pattern pad -----x-- | --------\ninstrument tick plays=hits send=0.3\n"
                             " voice freq=3000 len=0.8 fm=1.4:2 decay=0.6\nend\npattern tick ......x. | x.......\n";
    const std::string header = "music t tempo=100 swing=0.55 reverb=1.5 wet=-3 limit=3 peak=-3\nchords Cmaj7 | Am7\n";
    const Audio loop = renderMusic(parseMusic(header + body));
    ASSERT_EQ(loop.frames(), 211680u) << "two bars of four 0.6 s beats";
    EXPECT_NEAR(gainToDb(peakOf(loop)), -3.0, 1e-3);
    // Sound runs at the seam, and the jump across it is no bigger than the steps just before it.
    const size_t n = loop.frames();
    EXPECT_GT(std::fabs(loop.samples[0]) + std::fabs(loop.samples[2 * n - 2]), 1e-3);
    double seam = 0.0, inside = 0.0;
    for (size_t c = 0; c < 2; ++c) {
        seam = std::max(seam, double(std::fabs(loop.samples[c] - loop.samples[2 * (n - 1) + c])));
        for (size_t i = n - 4410; i < n; ++i)
            inside = std::max(inside, double(std::fabs(loop.samples[2 * i + c] - loop.samples[2 * (i - 1) + c])));
    }
    EXPECT_LE(seam, inside);
}

TEST(ProjectFiles, EveryGameEffectIsDescribedAndTheLoungeLoops) {
    std::set<std::string> names;
    for (const Sound& s : parseEffects(readTextFile(std::string(SOUNDGEN_DIR) + "/effects.txt"))) {
        names.insert(s.name);
        const Audio a = renderEffect(s);
        EXPECT_TRUE(a.seconds() >= 0.05 && a.seconds() <= 1.5) << s.name;
        // Loud enough to hear, with room for several effects at once.
        EXPECT_TRUE(peakOf(a) <= dbToGain(-13.0) + 1e-4 && peakOf(a) > dbToGain(-24.0)) << s.name;
    }
    EXPECT_EQ(names, (std::set<std::string>{"crop_done", "crop_harvest", "crop_plant", "fertilizer_drop",
                                            "fertilizer_pickup", "game_over", "pest_hurt", "pest_plot_hit", "shop_fail",
                                            "shop_success", "success", "watering_drop", "watering_pickup"}));
    const Piece m = parseMusic(readTextFile(std::string(SOUNDGEN_DIR) + "/lounge.txt"));
    const Arrangement a(m);
    EXPECT_TRUE(a.loopSeconds() >= 30.0 && a.loopSeconds() <= 60.0) << a.loopSeconds();
    const double beat_frames = 60.0 / m.tempo * kSampleRate; // whole: every bar line on a sample
    EXPECT_DOUBLE_EQ(beat_frames, std::round(beat_frames));
    for (const Instrument& inst : m.instruments)
        EXPECT_FALSE(a.events(inst).empty()) << inst.name;
}

} // namespace
