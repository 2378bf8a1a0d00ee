#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "ResourceTestUtil.h"
#include "TempDir.h"
#include "core/LogManager.h"
#include "resources/ResourceManager.h"
#include "resources/Sprite.h"
#include "resources/SpriteReader.h"

using vq::ResourceManager;
using vq::Sprite;
using vqtest::logHas;
using vqtest::messageLines;
using vqtest::spriteText;
using vqtest::TempDir;

namespace {

// A fresh directory with the log (every level written) and the store started.
class SpriteFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(0, vq::LogManager::getInstance().startUp());
        vq::LogManager::getInstance().setFlush(true);
        vq::LogManager::getInstance().setLogLevel(-1);
        ASSERT_EQ(0, ResourceManager::getInstance().startUp());
    }
    void TearDown() override {
        ResourceManager::getInstance().shutDown();
        vq::LogManager::getInstance().shutDown();
    }

    ResourceManager& store() { return ResourceManager::getInstance(); }

    // Loads text as a sprite file under the label "s"; the result of loadSprite.
    int load(const std::string& text, const std::string& file = "s.txt") {
        dir.write(file, text);
        return store().loadSprite(file, "s");
    }

    // The only line the load wrote besides level-0 progress, or "" when none.
    static std::string failure() {
        std::string found;
        for (const std::string& line : messageLines())
            if (line.rfind("Read ", 0) != 0)
                found = line;
        return found;
    }

    TempDir dir;
};

const std::string EXAMPLE = spriteText("2", "3", "1", "4", "yellow", {"(o)", "(-)"});

TEST_F(SpriteFileTest, LoadsTheDocumentedExampleWithProgressLines) {
    ASSERT_EQ(0, load(EXAMPLE));
    const Sprite* p_sprite = store().getSprite("s");
    ASSERT_NE(nullptr, p_sprite);
    EXPECT_EQ("s", p_sprite->getLabel());
    EXPECT_EQ(2, p_sprite->getFrameCount());
    EXPECT_EQ(3, p_sprite->getWidth());
    EXPECT_EQ(1, p_sprite->getHeight());
    EXPECT_EQ(4, p_sprite->getSlowdown());
    EXPECT_EQ(vq::YELLOW, p_sprite->getColor());
    EXPECT_EQ("(o)", p_sprite->getFrame(0).getString());
    EXPECT_EQ("(-)", p_sprite->getFrame(1).getString());
    EXPECT_EQ(3, p_sprite->getFrame(1).getWidth());
    EXPECT_EQ(0, p_sprite->getFrame(0).getTransparency());

    const std::vector<std::string> expected = {
        "Read headers in sprite file 's.txt': Frames: 2, Width: 3, Height: 1, Slowdown: 4, Color: yellow",
        "Read frame 1 in sprite file 's.txt'",
        "Read frame 2 in sprite file 's.txt'",
    };
    EXPECT_EQ(expected, messageLines());
}

TEST_F(SpriteFileTest, CrLfLineEndsReadLikeLf) {
    std::string crlf;
    for (char ch : spriteText("2", "2", "2", "3", "cyan", {"ab", "cd", "ef", "gh"}))
        crlf += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
    dir.write("lf.txt", spriteText("2", "2", "2", "3", "cyan", {"ab", "cd", "ef", "gh"}));
    dir.write("crlf.txt", crlf);
    ASSERT_EQ(0, store().loadSprite("lf.txt", "lf"));
    ASSERT_EQ(0, store().loadSprite("crlf.txt", "crlf"));
    const Sprite* p_lf = store().getSprite("lf");
    const Sprite* p_crlf = store().getSprite("crlf");
    EXPECT_EQ(vq::CYAN, p_crlf->getColor());
    EXPECT_EQ(p_lf->getSlowdown(), p_crlf->getSlowdown());
    EXPECT_EQ(p_lf->getFrameCount(), p_crlf->getFrameCount());
    for (int i = 0; i < 2; i++)
        EXPECT_EQ(p_lf->getFrame(i).getString(), p_crlf->getFrame(i).getString());
    EXPECT_EQ("efgh", p_crlf->getFrame(1).getString());
}

TEST_F(SpriteFileTest, OnlyTheEightLowerCaseColourWordsAreAccepted) {
    const char* words[] = {"black", "red", "green", "yellow", "blue", "magenta", "cyan", "white"};
    for (int i = 0; i < 8; i++) {
        const std::string label = words[i];
        dir.write(label + ".txt", spriteText("1", "1", "1", "1", words[i], {"x"}));
        ASSERT_EQ(0, store().loadSprite(label + ".txt", label));
        EXPECT_EQ(i, static_cast<int>(store().getSprite(label)->getColor()));
    }
    for (const char* bad : {"Yellow", "yellow ", " yellow", "grey", ""}) {
        dir.write("bad.txt", spriteText("1", "1", "1", "1", bad, {"x"}));
        EXPECT_EQ(-1, store().loadSprite("bad.txt", "bad")) << '"' << bad << '"';
        EXPECT_EQ("Failed to parse color in sprite file 'bad.txt'", failure());
        EXPECT_EQ(nullptr, store().getSprite("bad"));
    }
}

TEST_F(SpriteFileTest, HeaderNumbersReadLikeAtoiAndSaturate) {
    using vq::sprite_file::parseNumber;
    EXPECT_EQ(12, parseNumber("12"));
    EXPECT_EQ(7, parseNumber("  +7 frames"));
    EXPECT_EQ(5, parseNumber("\t5"));
    EXPECT_EQ(-2, parseNumber("-2"));
    EXPECT_EQ(3, parseNumber("3.9"));
    EXPECT_EQ(0, parseNumber("x3"));
    EXPECT_EQ(0, parseNumber(""));
    EXPECT_EQ(0, parseNumber("- 3"));
    EXPECT_EQ(INT_MAX, parseNumber("99999999999999999999"));
    EXPECT_EQ(INT_MIN, parseNumber("-99999999999999999999"));
    EXPECT_EQ(INT_MAX, parseNumber("2147483647"));
    EXPECT_EQ(INT_MIN, parseNumber("-2147483648"));

    // Trailing text after a header number is ignored in a real file too.
    ASSERT_EQ(0, load(spriteText("1 frame", " 2 wide", "1", "+3", "red", {"ab"})));
    EXPECT_EQ(3, store().getSprite("s")->getSlowdown());
}

TEST_F(SpriteFileTest, SlowdownMayBeNegativeButNotZero) {
    ASSERT_EQ(0, load(spriteText("1", "1", "1", "-2", "red", {"x"})));
    EXPECT_EQ(-2, store().getSprite("s")->getSlowdown());
    ASSERT_EQ(0, store().unloadSprite("s"));

    for (const char* bad : {"0", "fast"}) {
        EXPECT_EQ(-1, load(spriteText("1", "1", "1", bad, "red", {"x"})));
        EXPECT_EQ("Failed to parse frame slowdown in sprite file 's.txt'", failure());
    }
}

TEST_F(SpriteFileTest, HeaderValuesBelowOneAreRefusedWithTheirMessage) {
    struct Case {
        std::string text;
        std::string message;
    };
    const std::vector<Case> cases = {
        {spriteText("0", "1", "1", "1", "red", {"x"}), "Failed to parse frame count in sprite file 's.txt'"},
        {spriteText("-3", "1", "1", "1", "red", {"x"}), "Failed to parse frame count in sprite file 's.txt'"},
        {spriteText("many", "1", "1", "1", "red", {"x"}), "Failed to parse frame count in sprite file 's.txt'"},
        {spriteText("1", "0", "1", "1", "red", {"x"}), "Failed to parse frame width in sprite file 's.txt'"},
        {spriteText("1", "-1", "1", "1", "red", {"x"}), "Failed to parse frame width in sprite file 's.txt'"},
        {spriteText("1", "1", "0", "1", "red", {"x"}), "Failed to parse frame height in sprite file 's.txt'"},
        {spriteText("1", "1", "-5", "1", "red", {"x"}), "Failed to parse frame height in sprite file 's.txt'"},
        {"", "Failed to parse frame count in sprite file 's.txt'"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(-1, load(c.text));
        EXPECT_EQ(c.message, failure());
        EXPECT_EQ(nullptr, store().getSprite("s"));
    }
}

TEST_F(SpriteFileTest, HeadersEndingEarlyReportEofOrAnEmptyLine) {
    const std::string eof = "Failed to parse headers in sprite file 's.txt' - expected another line but got EOF";
    // The last header line ends the file without a line feed: EOF.
    for (const char* text : {"1", "1\n2", "1\n2\n3", "1\n2\n3\n4"}) {
        EXPECT_EQ(-1, load(text));
        EXPECT_EQ(eof, failure()) << text;
    }
    // With a line feed the next header reads as an empty line.
    EXPECT_EQ(-1, load("1\n2\n"));
    EXPECT_EQ("Failed to parse frame height in sprite file 's.txt'", failure());
    EXPECT_EQ(-1, load("1\n2\n3\n4\n"));
    EXPECT_EQ("Failed to parse color in sprite file 's.txt'", failure());
}

TEST_F(SpriteFileTest, RowOfTheWrongLengthNamesFrameAndRow) {
    std::vector<std::string> rows = {"abc", "abc", "abc", "abc", "abc", "ab"};
    EXPECT_EQ(-1, load(spriteText("2", "3", "3", "1", "red", rows)));
    EXPECT_EQ("Failed to read line in sprite file 's.txt' frame 2 row 3 - line length does not match sprite width",
              failure());
    // Frame 1 was read before the failure; frame 2 never was.
    EXPECT_TRUE(logHas("Read frame 1 in sprite file 's.txt'"));
    EXPECT_FALSE(logHas("Read frame 2 in sprite file 's.txt'"));

    rows.back() = "abcd";
    EXPECT_EQ(-1, load(spriteText("2", "3", "3", "1", "red", rows)));
    EXPECT_EQ("Failed to read line in sprite file 's.txt' frame 2 row 3 - line length does not match sprite width",
              failure());
    EXPECT_EQ(nullptr, store().getSprite("s"));
}

TEST_F(SpriteFileTest, FileOneRowShortReportsEofOrAnEmptyRow) {
    const std::vector<std::string> rows = {"ab", "cd", "ef"}; // four are needed
    EXPECT_EQ(-1, load(spriteText("2", "2", "2", "1", "red", rows, false)));
    EXPECT_EQ("Failed to read line in sprite file 's.txt' frame 2 row 2 - expected another line but got EOF",
              failure());
    EXPECT_EQ(-1, load(spriteText("2", "2", "2", "1", "red", rows, true)));
    EXPECT_EQ("Failed to read line in sprite file 's.txt' frame 2 row 2 - line length does not match sprite width",
              failure());
    // No rows at all: the colour line ended the file.
    EXPECT_EQ(-1, load(spriteText("1", "2", "1", "1", "red", {})));
    EXPECT_EQ("Failed to read line in sprite file 's.txt' frame 1 row 1 - expected another line but got EOF",
              failure());
}

TEST_F(SpriteFileTest, MoreAfterTheLastRowIsOnlyAWarning) {
    const std::string warning = "Expected end of sprite file 's.txt' but found more lines";
    ASSERT_EQ(0, load(spriteText("1", "2", "1", "1", "red", {"ab"}, false)));
    EXPECT_FALSE(logHas(warning));
    ASSERT_EQ(0, store().unloadSprite("s"));

    ASSERT_EQ(0, load(spriteText("1", "2", "1", "1", "red", {"ab"}, true)));
    EXPECT_TRUE(logHas(warning));
    EXPECT_EQ("ab", store().getSprite("s")->getFrame(0).getString());
    ASSERT_EQ(0, store().unloadSprite("s"));

    ASSERT_EQ(0, load(spriteText("1", "2", "1", "1", "red", {"ab", "extra"})));
    EXPECT_EQ(1, store().getSprite("s")->getFrameCount());
}

TEST_F(SpriteFileTest, MessagesUseTheirListedLevels) {
    // At log level 1 level-0 progress and the level-1 warning are dropped,
    // the unlevelled failures still appear.
    vq::LogManager::getInstance().setLogLevel(1);
    ASSERT_EQ(0, load(spriteText("1", "2", "1", "1", "red", {"ab"}, true)));
    EXPECT_EQ(-1, store().loadSprite("missing.txt", "m"));
    EXPECT_EQ(-1, store().unloadSprite("nothing"));
    const std::vector<std::string> expected = {"Failed to open sprite file 'missing.txt'"};
    EXPECT_EQ(expected, messageLines());
}

TEST_F(SpriteFileTest, HeaderClaimsBeyondTheFileFailCleanly) {
    // Two billion frames: the file runs out long before, nothing that large
    // is ever allocated.
    EXPECT_EQ(-1, load(spriteText("2000000000", "1", "1", "1", "red", {"a", "b"})));
    EXPECT_EQ("Failed to read line in sprite file 's.txt' frame 3 row 1 - expected another line but got EOF",
              failure());
    // Frame count times height overflows an int.
    EXPECT_EQ(-1, load(spriteText("2000000000", "1", "2000000000", "1", "red", {"a"}, true)));
    EXPECT_EQ("Failed to read line in sprite file 's.txt' frame 1 row 2 - line length does not match sprite width",
              failure());
    // A huge width against a short row.
    EXPECT_EQ(-1, load(spriteText("1", "2147483647", "1", "1", "red", {"abc"})));
    EXPECT_EQ("Failed to read line in sprite file 's.txt' frame 1 row 1 - line length does not match sprite width",
              failure());
    EXPECT_EQ(nullptr, store().getSprite("s"));
}

TEST_F(SpriteFileTest, RowsKeepEveryCharacter) {
    ASSERT_EQ(0, load(spriteText("1", "4", "2", "1", "white", {" \t#\\", "\"' ~"})));
    EXPECT_EQ(" \t#\\\"' ~", store().getSprite("s")->getFrame(0).getString());
}

TEST_F(SpriteFileTest, DuplicateLabelIsRefusedBeforeOpeningTheFile) {
    ASSERT_EQ(0, load(EXAMPLE));
    EXPECT_EQ(-1, store().loadSprite("does-not-exist.txt", "s"));
    EXPECT_EQ("Failed to add sprite with label 's', a sprite already exists with that label", failure());
    EXPECT_FALSE(logHas("Failed to open sprite file 'does-not-exist.txt'"));
    // Labels are case-sensitive.
    EXPECT_EQ(0, store().loadSprite("s.txt", "S"));
}

TEST_F(SpriteFileTest, MissingFileIsReported) {
    EXPECT_EQ(-1, store().loadSprite("nowhere/none.txt", "n"));
    EXPECT_EQ("Failed to open sprite file 'nowhere/none.txt'", failure());
    EXPECT_EQ(nullptr, store().getSprite("n"));
}

TEST_F(SpriteFileTest, The501stSpriteIsRefused) {
    dir.write("s.txt", EXAMPLE);
    for (int i = 0; i < vq::MAX_SPRITES; i++)
        ASSERT_EQ(0, store().loadSprite("s.txt", "sprite" + std::to_string(i)));
    EXPECT_EQ(-1, store().loadSprite("missing.txt", "one too many"));
    EXPECT_EQ("Failed to add sprite, sprite array is full", failure());
    EXPECT_FALSE(logHas("Failed to open sprite file 'missing.txt'"));
    EXPECT_EQ(nullptr, store().getSprite("one too many"));
    EXPECT_NE(nullptr, store().getSprite("sprite499"));
}

TEST_F(SpriteFileTest, UnloadingTheMiddleSpriteKeepsTheOthers) {
    dir.write("s.txt", EXAMPLE);
    for (const char* label : {"a", "b", "c"})
        ASSERT_EQ(0, store().loadSprite("s.txt", label));
    Sprite* p_a = store().getSprite("a");
    Sprite* p_c = store().getSprite("c");
    ASSERT_EQ(0, store().unloadSprite("b"));
    EXPECT_EQ(nullptr, store().getSprite("b"));
    EXPECT_EQ(p_a, store().getSprite("a"));
    EXPECT_EQ(p_c, store().getSprite("c"));
    // Two sprites remain: exactly 498 more fit.
    for (int i = 0; i < vq::MAX_SPRITES - 2; i++)
        ASSERT_EQ(0, store().loadSprite("s.txt", "more" + std::to_string(i)));
    EXPECT_EQ(-1, store().loadSprite("s.txt", "full"));

    EXPECT_EQ(-1, store().unloadSprite("b"));
    EXPECT_TRUE(logHas("Failed to find sprite with label 'b' to unload"));
}

TEST(DiscardCR, RemovesOneTrailingCarriageReturnInPlace) {
    std::string line = "abc\r";
    EXPECT_EQ("abc", vq::discardCR(line));
    EXPECT_EQ("abc", line);
    line = "abc\r\r";
    EXPECT_EQ("abc\r", vq::discardCR(line));
    line = "\rabc";
    EXPECT_EQ("\rabc", vq::discardCR(line));
    line = "";
    EXPECT_EQ("", vq::discardCR(line));
    line = "\r";
    EXPECT_EQ("", vq::discardCR(line));
}

} // namespace
