// Note names, chords and the description file parsers.
#include "Pitch.h"
#include "Script.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace soundgen;

TEST(Pitch, NoteNames) {
    EXPECT_EQ(parseNoteName("A4"), 69);
    EXPECT_EQ(parseNoteName("C4"), 60);
    EXPECT_EQ(parseNoteName("Bb3"), 58);
    EXPECT_EQ(parseNoteName("F#5"), 78);
    EXPECT_EQ(parseNoteName("Cb4"), 59); // accidentals may cross the octave
    EXPECT_EQ(parseNoteName("B#3"), 60);
    EXPECT_EQ(parseNoteName("A0"), 21);
    for (const char* bad : {"", "A", "H4", "a4", "A4x", "440", "Ab", "-", "C99"})
        EXPECT_FALSE(parseNoteName(bad).has_value()) << bad;
    EXPECT_NEAR(noteToFreq(69), 440.0, 1e-9);
    EXPECT_NEAR(noteToFreq(57), 220.0, 1e-9);
}

TEST(Pitch, ChordsAndVoicings) {
    const auto fmaj9 = parseChord("Fmaj9");
    ASSERT_TRUE(fmaj9);
    EXPECT_EQ(fmaj9->root, 5);
    EXPECT_EQ(voiceChord(*fmaj9, 53), (std::vector<int>{55, 57, 60, 64})); // G3 A3 C4 E4: no root
    // A 13th keeps 3rd, 7th, 9th and 13th: both root and fifth go.
    EXPECT_EQ(voiceChord(*parseChord("C13"), 53), (std::vector<int>{57, 58, 62, 64}));
    // A triad keeps its root; every note lands in the octave from `low`.
    const auto notes = voiceChord(*parseChord("Eb"), 60);
    EXPECT_EQ(notes, (std::vector<int>{63, 67, 70}));
    EXPECT_EQ(parseChord("Bbm9")->root, 10);
    EXPECT_FALSE(parseChord("Fmaj10"));
    EXPECT_FALSE(parseChord("H7"));
    EXPECT_EQ(placeInOctave(0, 53), 60);
    EXPECT_EQ(placeInOctave(5, 53), 53);
    EXPECT_EQ(placeInOctave(4, 53), 64);
}

TEST(EffectsFile, ParsesSoundsAndVoiceSettings) {
    const auto sounds = parseEffects(R"(
# comment line
sound ding peak=-6 echo=0.1:0.3   # trailing comment
  voice wave=saw freq=A4>A5 glide=0.2 len=0.4 lp=500>2000 sweep=0.1 fm=2:1.5 vib=5:20 level=-3
  voice wave=noise freq=C#5~1000 grains=12:0.02 cloud=fall jitter=4 seed=9 at=0.1
end
sound thump length=0.3
  voice freq=80
end
)");
    ASSERT_EQ(sounds.size(), 2u);
    const Sound& ding = sounds[0];
    EXPECT_EQ(ding.name, "ding");
    EXPECT_EQ(ding.peakDb, -6.0);
    EXPECT_EQ(ding.echoDelay, 0.1);
    EXPECT_EQ(ding.echoGain, 0.3);
    ASSERT_EQ(ding.voices.size(), 2u);
    const Voice& a = ding.voices[0];
    EXPECT_EQ(a.wave, Wave::Saw);
    EXPECT_NEAR(a.freq, 440.0, 1e-9);
    EXPECT_NEAR(a.bend, 12.0, 1e-9);
    EXPECT_EQ(a.glide, 0.2);
    EXPECT_TRUE(a.hasLen);
    EXPECT_EQ(a.lp, 500.0);
    EXPECT_EQ(a.lpTo, 2000.0);
    EXPECT_EQ(a.fmRatio, 2.0);
    EXPECT_EQ(a.fmIndex, 1.5);
    EXPECT_EQ(a.vibCents, 20.0);
    EXPECT_EQ(a.level, -3.0);
    const Voice& b = ding.voices[1];
    EXPECT_NEAR(b.freq, noteToFreq(73), 1e-9);
    EXPECT_EQ(b.freqHi, 1000.0);
    EXPECT_EQ(b.grains, 12);
    EXPECT_EQ(b.cloud, Cloud::Fall);
    EXPECT_EQ(b.seed, 9u);
    EXPECT_FALSE(b.hasLen);
    EXPECT_EQ(sounds[1].length, 0.3);
}

// The error names the line so a mistake in a long file is easy to find.
int errorLine(const std::string& text) {
    try {
        parseEffects(text);
    } catch (const ParseError& e) {
        return e.line();
    }
    return -1;
}

TEST(EffectsFile, ErrorsPointAtTheLine) {
    EXPECT_EQ(errorLine("sound a\n  voice freq=440\n  voice colour=red\nend\n"), 3);
    EXPECT_EQ(errorLine("sound a\n  voice freq=nonsense\nend\n"), 2);
    EXPECT_EQ(errorLine("voice freq=440\n"), 1);
    EXPECT_EQ(errorLine("\nsound a\n  voice\n"), 2);               // never closed
    EXPECT_EQ(errorLine("sound a\nend\n"), 2);                      // no voices
    EXPECT_EQ(errorLine("sound a peak=2\n voice\nend\n"), 1);      // would clip
    EXPECT_EQ(errorLine("sound a\n voice freq=*2\nend\n"), 2);     // ratio without a note
    EXPECT_EQ(errorLine("sound a\n voice len=0.1 attack=0.2\nend\n"), 2);
    EXPECT_EQ(errorLine("sound a\n voice\nend\nsound a\n voice\nend\n"), 4);
    EXPECT_EQ(errorLine("sound a\n voice fm=2\nend\n"), 2);
    EXPECT_EQ(errorLine("sound a\n voice grains=2.5:0.01\nend\n"), 2);
}

const char* kPiece = R"(
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
)";

TEST(MusicFile, ParsesHeaderFormAndPatterns) {
    const Piece m = parseMusic(kPiece);
    EXPECT_EQ(m.name, "test");
    EXPECT_EQ(m.tempo, 120.0);
    EXPECT_EQ(m.limitDb, 2.0);
    ASSERT_EQ(m.bars.size(), 2u);
    ASSERT_EQ(m.bars[1].size(), 2u);
    EXPECT_EQ(m.bars[1][1].symbol, "G");
    ASSERT_EQ(m.instruments.size(), 2u);
    const Instrument& keys = m.instruments[0];
    EXPECT_EQ(keys.plays, Plays::Chords);
    EXPECT_EQ(keys.low, 53);
    EXPECT_EQ(keys.send, 0.3);
    EXPECT_EQ(keys.voices[0].ratio, 2.0);
    ASSERT_EQ(keys.pattern.size(), 2u);
    EXPECT_EQ(keys.pattern[1][6], ">");
    EXPECT_EQ(m.instruments[1].pattern[1][0], "F#4"); // note slots are words, and # is not a comment here
}

TEST(MusicFile, RejectsPatternsThatWouldBreakTheLoop) {
    const std::string head = "music m beats=4\nchords C | F | G | C\ninstrument d plays=hits\n voice\nend\n";
    EXPECT_NO_THROW(parseMusic(head + "pattern d x.x.x.x. | x...x...\n"));
    EXPECT_THROW(parseMusic(head + "pattern d x.x.x.x. | x...x... | xxxxxxxx\n"), ParseError); // 3 bars in 4
    EXPECT_THROW(parseMusic(head + "pattern d x.x.x.x\n"), ParseError);   // short bar
    EXPECT_THROW(parseMusic(head + "pattern d x.x.5.x.\n"), ParseError);  // a degree is no hit
    EXPECT_THROW(parseMusic(head + "pattern e x.x.x.x.\n"), ParseError);  // unknown instrument
    EXPECT_THROW(parseMusic(head), ParseError);                            // no pattern at all
    EXPECT_THROW(parseMusic("music m\nchords C F G\n"), ParseError);       // 3 chords cannot split 8 slots
    EXPECT_THROW(parseMusic("chords C\n"), ParseError);                    // header first
    EXPECT_THROW(parseMusic("music m swing=0.95\nchords C\n"), ParseError);
}

} // namespace
