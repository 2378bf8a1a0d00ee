// Note names, chords and the two description file formats.
#include "Pitch.h"
#include "Script.h"

#include <gtest/gtest.h>

namespace {

using namespace soundgen;

TEST(Pitch, NoteNamesChordsAndVoicings) {
    const std::pair<const char*, int> notes[] = {{"A4", 69}, {"C4", 60},  {"Bb3", 58}, {"F#5", 78},
                                                 {"Cb4", 59}, {"B#3", 60}, {"A0", 21}}; // accidentals cross octaves
    for (const auto& n : notes)
        EXPECT_EQ(parseNoteName(n.first), n.second) << n.first;
    for (const char* bad : {"", "A", "H4", "a4", "A4x", "440", "Ab", "-", "C99"})
        EXPECT_FALSE(parseNoteName(bad).has_value()) << bad;
    EXPECT_NEAR(noteToFreq(69), 440.0, 1e-9);
    EXPECT_NEAR(noteToFreq(57), 220.0, 1e-9);

    EXPECT_EQ(parseChord("Fmaj9")->root, 5);
    EXPECT_EQ(parseChord("Bbm9")->root, 10);
    EXPECT_FALSE(parseChord("Fmaj10") || parseChord("H7"));
    EXPECT_EQ(voiceChord(*parseChord("Fmaj9"), 53), (std::vector<int>{55, 57, 60, 64})) << "rootless";
    EXPECT_EQ(voiceChord(*parseChord("C13"), 53), (std::vector<int>{57, 58, 62, 64})) << "root and fifth go";
    EXPECT_EQ(voiceChord(*parseChord("Eb"), 60), (std::vector<int>{63, 67, 70})) << "a triad keeps its root";
    EXPECT_EQ(placeInOctave(0, 53), 60);
    EXPECT_EQ(placeInOctave(5, 53), 53);
}

TEST(EffectsFile, ParsesSoundsAndVoiceSettings) {
    const auto sounds = parseEffects(R"(
# comment line
sound ding peak=-6 echo=0.1:0.3   # trailing comment
  voice wave=saw freq=A4>A5 glide=0.2 len=0.4 lp=500>2000 fm=2:1.5 vib=5:20 level=-3
  voice wave=noise freq=C#5~1000 grains=12:0.02 cloud=fall seed=9 at=0.1
end
sound thump length=0.3
  voice freq=80
end
)");
    ASSERT_EQ(sounds.size(), 2u);
    const Sound& ding = sounds[0];
    EXPECT_EQ(ding.name, "ding");
    EXPECT_EQ(ding.peakDb, -6.0);
    EXPECT_EQ(ding.echoDelay + ding.echoGain, 0.1 + 0.3);
    ASSERT_EQ(ding.voices.size(), 2u);
    const Voice &a = ding.voices[0], &b = ding.voices[1];
    EXPECT_EQ(a.wave, Wave::Saw);
    EXPECT_NEAR(a.freq, 440.0, 1e-9);
    EXPECT_NEAR(a.bend, 12.0, 1e-9);
    EXPECT_TRUE(a.hasLen);
    EXPECT_EQ(std::vector<double>({a.glide, a.lp, a.lpTo, a.fmRatio, a.fmIndex, a.vibCents, a.level}),
              std::vector<double>({0.2, 500, 2000, 2, 1.5, 20, -3}));
    EXPECT_NEAR(b.freq, noteToFreq(73), 1e-9);
    EXPECT_EQ(b.freqHi, 1000.0);
    EXPECT_EQ(b.grains, 12);
    EXPECT_EQ(b.cloud, Cloud::Fall);
    EXPECT_EQ(b.seed, 9u);
    EXPECT_FALSE(b.hasLen);
    EXPECT_EQ(sounds[1].length, 0.3);
}

// The error names the line, so a mistake in a long file is easy to find.
TEST(EffectsFile, ErrorsPointAtTheLine) {
    const std::pair<const char*, int> cases[] = {
        {"sound a\n  voice freq=440\n  voice colour=red\nend\n", 3}, {"sound a\n  voice freq=nonsense\nend\n", 2},
        {"voice freq=440\n", 1},                                     {"\nsound a\n  voice\n", 2}, // never closed
        {"sound a\nend\n", 2},                                       // no voices
        {"sound a peak=2\n voice\nend\n", 1},                        // would clip
        {"sound a\n voice freq=*2\nend\n", 2},                       // a ratio needs a note
        {"sound a\n voice len=0.1 attack=0.2\nend\n", 2},            {"sound a\n voice\nend\nsound a\n voice\nend\n", 4},
        {"sound a\n voice fm=2\nend\n", 2},                          {"sound a\n voice grains=2.5:0.01\nend\n", 2}};
    for (const auto& c : cases) {
        int line = -1;
        try {
            parseEffects(c.first);
        } catch (const ParseError& e) {
            line = e.line();
        }
        EXPECT_EQ(line, c.second) << c.first;
    }
}

TEST(MusicFile, ParsesHeaderFormAndPatternsAndRejectsPatternsThatBreakTheLoop) {
    const Piece m = parseMusic(R"(
music test tempo=120 beats=4 swing=0.5 seed=3 limit=2
chords C | F G
instrument keys plays=chords low=F3 level=-2 send=0.3
  voice freq=*2 decay=1
end
pattern keys x--..x-. | ..x-..>-
instrument tune plays=notes
  voice wave=triangle
end
pattern tune C5 - D5 - . . E5 - | F#4 - - - - - - -
)");
    EXPECT_EQ(m.name, "test");
    EXPECT_EQ(m.tempo, 120.0);
    EXPECT_EQ(m.limitDb, 2.0);
    ASSERT_EQ(m.bars.size(), 2u);
    EXPECT_EQ(m.bars[1][1].symbol, "G");
    ASSERT_EQ(m.instruments.size(), 2u);
    const Instrument& keys = m.instruments[0];
    EXPECT_EQ(keys.plays, Plays::Chords);
    EXPECT_EQ(keys.low, 53);
    EXPECT_EQ(keys.send, 0.3);
    EXPECT_EQ(keys.voices[0].ratio, 2.0);
    EXPECT_EQ(keys.pattern[1][6], ">");
    EXPECT_EQ(m.instruments[1].pattern[1][0], "F#4") << "note slots are words; # is no comment here";

    const std::string head = "music m beats=4\nchords C | F | G | C\ninstrument d plays=hits\n voice\nend\n";
    EXPECT_NO_THROW(parseMusic(head + "pattern d x.x.x.x. | x...x...\n"));
    for (const std::string& bad : {head + "pattern d x.x.x.x. | x...x... | xxxxxxxx\n", // 3 bars in 4
                                   head + "pattern d x.x.x.x\n",                         // a short bar
                                   head + "pattern d x.x.5.x.\n",                        // a degree is no hit
                                   head + "pattern e x.x.x.x.\n",                        // unknown instrument
                                   head,                                                 // no pattern at all
                                   std::string("music m\nchords C F G\n"),               // 3 chords in 8 slots
                                   std::string("chords C\n"),                            // header first
                                   std::string("music m swing=0.95\nchords C\n")})
        EXPECT_THROW(parseMusic(bad), ParseError) << bad;
}

} // namespace
