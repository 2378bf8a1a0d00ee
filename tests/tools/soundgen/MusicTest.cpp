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

TEST(Arrangement, SwungSlotTimesAndLoopLength) {
    const Piece m = piece("C | F", "instrument d plays=hits\n voice\nend\npattern d x.......\n");
    const Arrangement a(m);
    EXPECT_EQ(a.totalSlots(), 16);
    EXPECT_DOUBLE_EQ(a.slotTime(0), 0.0);
    EXPECT_DOUBLE_EQ(a.slotTime(1), 0.3); // off-beat at 60% of a 0.5 s beat
    EXPECT_DOUBLE_EQ(a.slotTime(2), 0.5);
    EXPECT_DOUBLE_EQ(a.slotTime(17), 8.0 * 0.5 + 0.3); // past the end: the next pass
    EXPECT_EQ(a.loopFrames(), 4u * 44100u);
}

TEST(Arrangement, HoldsRestsAndAnticipationsAcrossTheSeam) {
    const Piece m = piece("C | F G", "instrument k plays=chords low=C4\n voice\nend\n"
                                         "pattern k X--.o-.> | --..x--- \n");
    const Arrangement a(m);
    const auto ev = a.events(m.instruments[0]);
    ASSERT_EQ(ev.size(), 4u);
    EXPECT_EQ(ev[0].slot, 0);
    EXPECT_EQ(ev[0].endSlot, 3); // held to the rest
    EXPECT_EQ(ev[0].gainDb, 3.0);
    EXPECT_EQ(ev[0].notes, (std::vector<int>{60, 64, 67}));
    EXPECT_EQ(ev[1].gainDb, -8.0);
    // Slot 7 anticipates bar 2's F and is held over the bar line.
    EXPECT_EQ(ev[2].slot, 7);
    EXPECT_EQ(ev[2].endSlot, 10);
    EXPECT_EQ(ev[2].notes, (std::vector<int>{60, 65, 69}));
    // The last hit (on G, second half of bar 2) rings through the seam into the next pass's first slot.
    EXPECT_EQ(ev[3].slot, 12);
    EXPECT_EQ(ev[3].endSlot, 16);
    EXPECT_EQ(ev[3].notes, (std::vector<int>{62, 67, 71}));
    const auto one = piece("C", "instrument k plays=chords\n voice\nend\npattern k x-------\n");
    const auto held = Arrangement(one).events(one.instruments[0]);
    ASSERT_EQ(held.size(), 1u);
    EXPECT_EQ(held[0].endSlot, 8); // a note held all the way round lasts one whole pass
}

TEST(Arrangement, BassDegreesRootsAndApproaches) {
    const Piece m = piece("C7 | Am7 D7", "instrument b plays=bass low=A1\n voice\nend\n"
                                              "pattern b 1-3-5-7a | 8-5-5-a-\n");
    const Arrangement a(m);
    std::vector<int> notes;
    for (const NoteEvent& e : a.events(m.instruments[0])) notes.push_back(e.notes[0]);
    // C2=36: root, third, fifth, seventh, then a half step down onto A1 (the next root, below).
    // Bar 2: A's octave, its fifth; the "5" on the arriving D7 becomes its root;
    // the last approach leads down into C2 from above.
    EXPECT_EQ(notes, (std::vector<int>{36, 40, 43, 46, 34, 45, 40, 38, 37}));
    EXPECT_EQ(a.chordAt(11).symbol, "Am7");
    EXPECT_EQ(a.chordAt(12).symbol, "D7");
    EXPECT_EQ(a.nextChange(13), 16);
    EXPECT_EQ(a.nextChange(3), 8);
}

double maxStep(const Audio& a, std::size_t from, std::size_t to) {
    double step = 0.0;
    for (std::size_t i = from + 1; i < to; ++i)
        for (int c = 0; c < 2; ++c)
            step = std::max(step, double(std::fabs(a.samples[2 * i + c] - a.samples[2 * (i - 1) + c])));
    return step;
}

// Sustained tones ringing over the end, reverb, limiter: all must wrap round the seam.
const char* kLoopBody = R"(
instrument pad plays=chords low=C4 send=0.5
  voice wave=saw lp=2000 attack=0.05 release=0.4
end
pattern pad -----x-- | --------
instrument tick plays=hits send=0.3
  voice freq=3000 len=0.8 fm=1.4:2 decay=0.6
end
pattern tick ......x. | x.......
)";
const char* kLoopHeader = "tempo=100 swing=0.55 reverb=1.5 wet=-3 limit=3 peak=-3";

TEST(Music, LoopIsExactAndSeamless) {
    const Piece m = piece("Cmaj7 | Am7", kLoopBody, kLoopHeader);
    const Audio loop = renderMusic(m);
    ASSERT_EQ(loop.channels, 2);
    ASSERT_EQ(loop.frames(), Arrangement(m).loopFrames());
    EXPECT_NEAR(gainToDb(peakOf(loop)), -3.0, 1e-3);
    // Sound is running at the seam, and the jump across it is no bigger than steps inside the loop.
    const std::size_t n = loop.frames();
    EXPECT_GT(std::fabs(loop.samples[0]) + std::fabs(loop.samples[2 * n - 2]), 1e-3);
    double seam = 0.0;
    for (int c = 0; c < 2; ++c) seam = std::max(seam, double(std::fabs(loop.samples[c] - loop.samples[2 * (n - 1) + c])));
    EXPECT_LE(seam, maxStep(loop, n - 4410, n));
}

TEST(Music, OnePassEqualsEitherHalfOfTwoPasses) {
    // Doubling the form must only repeat the loop: anything that depends on where the
    // render starts (unwrapped tails, unsettled reverb) makes the halves differ.
    const Audio once = renderMusic(piece("Cmaj7 | Am7", kLoopBody, kLoopHeader));
    const Audio twice = renderMusic(piece("Cmaj7 | Am7 | Cmaj7 | Am7", kLoopBody, kLoopHeader));
    ASSERT_EQ(twice.frames(), 2 * once.frames());
    double worst = 0.0;
    for (std::size_t i = 0; i < once.samples.size(); ++i) {
        worst = std::max(worst, double(std::fabs(twice.samples[i] - once.samples[i])));
        worst = std::max(worst, double(std::fabs(twice.samples[i + once.samples.size()] - once.samples[i])));
    }
    EXPECT_LT(worst, 1e-4);
}

TEST(ProjectFiles, EveryGameEffectIsDescribedAndRendersSensibly) {
    const auto sounds = parseEffects(readTextFile(std::string(SOUNDGEN_DIR) + "/effects.txt"));
    std::set<std::string> names;
    for (const Sound& s : sounds) {
        names.insert(s.name);
        const Audio a = renderEffect(s);
        EXPECT_GE(a.seconds(), 0.05) << s.name;
        EXPECT_LE(a.seconds(), 1.5) << s.name;
        // Loud enough to hear, with room for several effects at once.
        EXPECT_LE(peakOf(a), dbToGain(-13.0) + 1e-4) << s.name;
        EXPECT_GT(peakOf(a), dbToGain(-24.0)) << s.name;
        if (s.name == "pest_plot_hit") {
            EXPECT_LT(a.seconds(), 0.15);
        }
    }
    const std::set<std::string> game = {"crop_done",    "crop_harvest",      "crop_plant",    "fertilizer_drop",
                                        "fertilizer_pickup", "game_over",     "pest_hurt",     "pest_plot_hit",
                                        "shop_fail",    "shop_success",      "success",       "watering_drop",
                                        "watering_pickup"};
    EXPECT_EQ(names, game);
}

TEST(ProjectFiles, LoungeIsALoopOfSuitableLength) {
    const Piece m = parseMusic(readTextFile(std::string(SOUNDGEN_DIR) + "/lounge.txt"));
    const Arrangement a(m);
    EXPECT_GE(a.loopSeconds(), 30.0);
    EXPECT_LE(a.loopSeconds(), 60.0);
    // A whole number of samples per beat keeps every bar line on a sample.
    const double beatFrames = 60.0 / m.tempo * kSampleRate;
    EXPECT_DOUBLE_EQ(beatFrames, std::round(beatFrames));
    for (const Instrument& inst : m.instruments) EXPECT_FALSE(a.events(inst).empty()) << inst.name;
}

} // namespace
