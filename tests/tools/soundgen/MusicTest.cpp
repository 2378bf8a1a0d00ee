// Arranging patterns over the form, the seamless music loop, and the project's own description files.
#include "Arranger.h"
#include "Effects.h"
#include "Script.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

namespace {

using namespace soundgen;

Piece piece(const std::string& chords, const std::string& body, const std::string& header = "tempo=120 swing=0.6") {
    return parseMusic("music t " + header + "\nchords " + chords + "\n" + body);
}

TEST(Arrangement, SwungSlotsHeldNotesAndBassDegreesWrapRoundTheLoop) {
    const Piece m = piece("C | F G", "instrument k plays=chords low=C4\n voice\nend\npattern k X--.o-.> | --..x--- \n");
    const Arrangement a(m);
    EXPECT_EQ(a.totalSlots(), 16);
    EXPECT_EQ(a.loopFrames(), 4u * 44100u);
    const std::pair<int, double> times[] = {{0, 0.0}, {1, 0.3}, {2, 0.5}, {17, 4.3}}; // off-beats at 60%; wrapping
    for (const auto& t : times)
        EXPECT_DOUBLE_EQ(a.slotTime(t.first), t.second) << t.first;
    EXPECT_EQ(a.chordAt(11).symbol, "F");
    EXPECT_EQ(a.chordAt(12).symbol, "G");
    EXPECT_EQ(a.nextChange(13), 16);

    const auto keys = a.events(m.instruments[0]);
    ASSERT_EQ(keys.size(), 4u);
    // (slot, end slot, gain): held to the rest, accents, slot 7 anticipating
    // bar 2 held over the bar line, the last hit ringing through the seam.
    const double expected[][3] = {{0, 3, 3.0}, {4, 6, -8.0}, {7, 10, 0.0}, {12, 16, 0.0}};
    for (size_t i = 0; i < 4; i++)
        EXPECT_EQ(std::vector<double>({double(keys[i].slot), double(keys[i].endSlot), keys[i].gainDb}),
                  std::vector<double>(expected[i], expected[i] + 3)) << i;
    EXPECT_EQ(keys[0].notes, (std::vector<int>{60, 64, 67}));
    EXPECT_EQ(keys[2].notes, (std::vector<int>{60, 65, 69}));
    EXPECT_EQ(keys[3].notes, (std::vector<int>{62, 67, 71}));
    // C2 = 36: root, third, fifth, seventh, a half step onto the next root
    // below (A1); then A's octave and fifth, the "5" on the arriving D7 its
    // root, the last approach leading into C2 from above.
    const Piece jazz = piece("C7 | Am7 D7", "instrument b plays=bass low=A1\n voice\nend\npattern b 1-3-5-7a | 8-5-5-a-\n");
    std::vector<int> bass;
    for (const NoteEvent& e : Arrangement(jazz).events(jazz.instruments[0]))
        bass.push_back(e.notes[0]);
    EXPECT_EQ(bass, (std::vector<int>{36, 40, 43, 46, 34, 45, 40, 38, 37}));
    const Piece one = piece("C", "instrument k plays=chords\n voice\nend\npattern k x-------\n");
    EXPECT_EQ(Arrangement(one).events(one.instruments[0]).at(0).endSlot, 8) << "held all the way round: one pass";
}

// Sustained tones ringing over the end, reverb and limiter: all must wrap round the seam.
const char* const LOOP_BODY = R"(
instrument pad plays=chords low=C4 send=0.5
  voice wave=saw lp=2000 attack=0.05 release=0.4
end
pattern pad -----x-- | --------
instrument tick plays=hits send=0.3
  voice freq=3000 len=0.8 fm=1.4:2 decay=0.6
end
pattern tick ......x. | x.......
)";
const char* const LOOP_HEADER = "tempo=100 swing=0.55 reverb=1.5 wet=-3 limit=3 peak=-3";

TEST(Music, TheLoopIsExactSeamlessAndIndependentOfWhereTheRenderStarts) {
    const Piece m = piece("Cmaj7 | Am7", LOOP_BODY, LOOP_HEADER);
    const Audio loop = renderMusic(m);
    ASSERT_EQ(loop.channels, 2);
    ASSERT_EQ(loop.frames(), Arrangement(m).loopFrames());
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
    // Doubling the form only repeats the loop.
    const Audio twice = renderMusic(piece("Cmaj7 | Am7 | Cmaj7 | Am7", LOOP_BODY, LOOP_HEADER));
    ASSERT_EQ(twice.frames(), 2 * n);
    double worst = 0.0;
    for (size_t i = 0; i < loop.samples.size(); ++i)
        worst = std::max({worst, double(std::fabs(twice.samples[i] - loop.samples[i])),
                          double(std::fabs(twice.samples[i + loop.samples.size()] - loop.samples[i]))});
    EXPECT_LT(worst, 1e-4);
}

TEST(ProjectFiles, EveryGameEffectIsDescribedAndTheLoungeLoops) {
    std::set<std::string> names;
    for (const Sound& s : parseEffects(readTextFile(std::string(SOUNDGEN_DIR) + "/effects.txt"))) {
        names.insert(s.name);
        const Audio a = renderEffect(s);
        EXPECT_TRUE(a.seconds() >= 0.05 && a.seconds() <= 1.5) << s.name;
        // Loud enough to hear, with room for several effects at once.
        EXPECT_LE(peakOf(a), dbToGain(-13.0) + 1e-4) << s.name;
        EXPECT_GT(peakOf(a), dbToGain(-24.0)) << s.name;
    }
    EXPECT_EQ(names, (std::set<std::string>{"crop_done", "crop_harvest", "crop_plant", "fertilizer_drop",
                                            "fertilizer_pickup", "game_over", "pest_hurt", "pest_plot_hit",
                                            "shop_fail", "shop_success", "success", "watering_drop", "watering_pickup"}));
    const Piece m = parseMusic(readTextFile(std::string(SOUNDGEN_DIR) + "/lounge.txt"));
    const Arrangement a(m);
    EXPECT_TRUE(a.loopSeconds() >= 30.0 && a.loopSeconds() <= 60.0) << a.loopSeconds();
    const double beat_frames = 60.0 / m.tempo * kSampleRate; // whole: every bar line on a sample
    EXPECT_DOUBLE_EQ(beat_frames, std::round(beat_frames));
    for (const Instrument& inst : m.instruments)
        EXPECT_FALSE(a.events(inst).empty()) << inst.name;
}

} // namespace
