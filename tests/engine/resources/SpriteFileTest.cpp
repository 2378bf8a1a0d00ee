#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "LogCapture.h"
#include "resources/ResourceManager.h"
#include "resources/Sprite.h"
#include "resources/SpriteReader.h"

using vq::ResourceManager;
using vqtest::LogCapture;

namespace {

// The five header lines and the rows, joined by line feeds.
std::string spriteText(const std::vector<std::string>& lines, bool final_newline = false) {
    std::string text;
    for (const std::string& line : lines)
        text += (text.empty() ? "" : "\n") + line;
    return final_newline ? text + "\n" : text;
}

class SpriteFileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(0, store().startUp()); }
    void TearDown() override { store().shutDown(); }
    static ResourceManager& store() { return ResourceManager::getInstance(); }
    // Loads text as the sprite file "s.txt" under the label "s".
    int load(const std::string& text) {
        dir.write("s.txt", text);
        return store().loadSprite("s.txt", "s");
    }
    // The last line a load wrote apart from its progress.
    static std::string failure() {
        std::string found;
        for (const std::string& line : LogCapture::messages())
            if (line.rfind("Read ", 0) != 0)
                found = line;
        return found;
    }
    vqtest::TempDir dir;
    LogCapture log;
};

TEST_F(SpriteFileTest, LoadsHeadersAndFramesWithProgressLinesWhateverTheLineEnds) {
    const std::string lf = spriteText({"2", "3", "2", "4", "yellow", "(o)", "/ \\", "(-)", "\"' "});
    std::string crlf;
    for (char ch : lf)
        crlf += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
    for (const std::string& text : {lf, crlf}) {
        ASSERT_EQ(0, load(text));
        const vq::Sprite* p = store().getSprite("s");
        EXPECT_EQ(p->getLabel() + " " + std::to_string(p->getFrameCount()) + " " + std::to_string(p->getWidth()) + "x" +
                      std::to_string(p->getHeight()) + " " + std::to_string(p->getSlowdown()) + " " +
                      std::to_string(p->getColor()) + " " + p->getFrame(0).getString() + p->getFrame(1).getString(),
                  "s 2 3x2 4 3 (o)/ \\(-)\"' ");
        EXPECT_TRUE(p->getFrame(1).getWidth() == 3 && p->getFrame(0).getTransparency() == 0);
        const std::vector<std::string> lines = LogCapture::messages();
        EXPECT_EQ(std::vector<std::string>(lines.end() - 3, lines.end()),
                  (std::vector<std::string>{
                      "Read headers in sprite file 's.txt': Frames: 2, Width: 3, Height: 2, Slowdown: 4, Color: yellow",
                      "Read frame 1 in sprite file 's.txt'", "Read frame 2 in sprite file 's.txt'"}));
        ASSERT_EQ(0, store().unloadSprite("s"));
    }
}

TEST_F(SpriteFileTest, HeaderNumbersReadLikeAtoiAndColoursByName) {
    const char* words[] = {"black", "red", "green", "yellow", "blue", "magenta", "cyan", "white"};
    for (int i = 0; i < 8; i++) {
        ASSERT_EQ(0, load(spriteText({"  +1 frame", "\t1 wide", "1", "-2", words[i], "x"})));
        EXPECT_EQ(i, static_cast<int>(store().getSprite("s")->getColor()));
        EXPECT_EQ(-2, store().getSprite("s")->getSlowdown()) << "a negative slowdown is legal";
        ASSERT_EQ(0, store().unloadSprite("s"));
    }
    EXPECT_EQ(vq::sprite_file::parseNumber("99999999999999999999"), INT_MAX) << "saturates";
    EXPECT_EQ(vq::sprite_file::parseNumber("-99999999999999999999"), INT_MIN);
}

TEST_F(SpriteFileTest, BadFilesAreRefusedWithTheirReason) {
    const std::string file = " in sprite file 's.txt'", eof = " - expected another line but got EOF";
    const std::string width = " - line length does not match sprite width";
    const std::pair<std::string, std::string> cases[] = {
        {spriteText({"0", "1", "1", "1", "red", "x"}), "Failed to parse frame count" + file},
        {spriteText({"-3", "1", "1", "1", "red", "x"}), "Failed to parse frame count" + file},
        {spriteText({"many", "1", "1", "1", "red", "x"}), "Failed to parse frame count" + file},
        {"", "Failed to parse frame count" + file},
        {spriteText({"1", "0", "1", "1", "red", "x"}), "Failed to parse frame width" + file},
        {spriteText({"1", "-1", "1", "1", "red", "x"}), "Failed to parse frame width" + file},
        {spriteText({"1", "1", "0", "1", "red", "x"}), "Failed to parse frame height" + file},
        {spriteText({"1", "1", "-5", "1", "red", "x"}), "Failed to parse frame height" + file},
        {spriteText({"1", "1", "1", "0", "red", "x"}), "Failed to parse frame slowdown" + file},
        {spriteText({"1", "1", "1", "fast", "red", "x"}), "Failed to parse frame slowdown" + file},
        {spriteText({"1", "1", "1", "1", "Yellow", "x"}), "Failed to parse color" + file},
        {spriteText({"1", "1", "1", "1", "yellow ", "x"}), "Failed to parse color" + file},
        {spriteText({"1", "1", "1", "1", "grey", "x"}), "Failed to parse color" + file},
        // A header line without its line feed ends the file; with one, the next header reads empty.
        {"1", "Failed to parse headers" + file + eof},
        {"1\n2\n3\n4", "Failed to parse headers" + file + eof},
        {"1\n2\n", "Failed to parse frame height" + file},
        {"1\n2\n3\n4\n", "Failed to parse color" + file},
        {spriteText({"1", "2", "1", "1", "red"}), "Failed to read line" + file + " frame 1 row 1" + eof},
        {spriteText({"2", "2", "2", "1", "red", "ab", "cd", "ef"}), "Failed to read line" + file + " frame 2 row 2" + eof},
        {spriteText({"2", "2", "2", "1", "red", "ab", "cd", "ef"}, true), "Failed to read line" + file + " frame 2 row 2" + width},
        {spriteText({"2", "3", "2", "1", "red", "abc", "abc", "abc", "ab"}), "Failed to read line" + file + " frame 2 row 2" + width},
        {spriteText({"2", "3", "2", "1", "red", "abc", "abc", "abc", "abcd"}), "Failed to read line" + file + " frame 2 row 2" + width},
        // Header claims beyond the file: nothing that large is ever allocated.
        {spriteText({"2000000000", "1", "1", "1", "red", "a", "b"}), "Failed to read line" + file + " frame 3 row 1" + eof},
        {spriteText({"2000000000", "1", "2000000000", "1", "red", "a"}, true), "Failed to read line" + file + " frame 1 row 2" + width},
        {spriteText({"1", "2147483647", "1", "1", "red", "abc"}), "Failed to read line" + file + " frame 1 row 1" + width},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(-1, load(c.first)) << c.first;
        EXPECT_EQ(failure(), c.second) << c.first;
        EXPECT_EQ(nullptr, store().getSprite("s"));
    }
    EXPECT_EQ(-1, store().loadSprite("nowhere/none.txt", "n"));
    EXPECT_EQ(failure(), "Failed to open sprite file 'nowhere/none.txt'");
}

TEST_F(SpriteFileTest, MoreAfterTheLastRowIsAWarningOnlyAndMessagesKeepTheirLevels) {
    const std::string warning = "Expected end of sprite file 's.txt' but found more lines";
    for (const char* last : {"", "\n", "\nextra"}) {
        ASSERT_EQ(0, load(spriteText({"1", "2", "1", "1", "red", "ab"}) + last));
        EXPECT_EQ(LogCapture::has(warning), *last != '\0') << last;
        EXPECT_EQ(store().getSprite("s")->getFrame(0).getString(), "ab");
        ASSERT_EQ(0, store().unloadSprite("s"));
    }
    // At level 1 progress and the warning are dropped; the level-less failures stay.
    vq::LogManager::getInstance().setLogLevel(1);
    const size_t before = LogCapture::messages().size();
    ASSERT_EQ(0, store().loadSprite("s.txt", "t"));
    EXPECT_EQ(-1, store().loadSprite("missing.txt", "m"));
    EXPECT_EQ(-1, store().unloadSprite("nothing"));
    EXPECT_EQ(LogCapture::messages().size(), before + 1);
    EXPECT_EQ(LogCapture::last(), "Failed to open sprite file 'missing.txt'");
}

} // namespace
