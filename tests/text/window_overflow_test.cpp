#include "text/window_overflow.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/text_layout.h"

namespace {

using text::CharacterNames;
using text::OverflowKind;

// Widths in the game's font: 'A' 9, 'C' 8, 'l' 3, 'o' 7, 'u' 7, 'd' 7, the space 3, 'Å' 14.
// A line's needed width is the pen's start (8), its glyphs and the right margin (3).

std::vector<text::PageExtent> Pages(const std::string& tagged,
                                    CharacterNames names = CharacterNames::Default) {
    return text::LayOutPages(tagged, text::GameAdvances, names);
}

struct ExtentCase {
    std::string tagged;
    CharacterNames names;
    int width;
    int lines;
};

TEST(LayOutPages, WidthOfALineIsItsGlyphsAndThePadding) {
    const ExtentCase cases[] = {
        {"AAAA", CharacterNames::Default, 8 + 36 + 3, 1},
        {"", CharacterNames::Default, 0, 1},
        // Name tags: "Cloud" (32), its letters as drawn by the plain preview (50), nine 'Å'.
        {"{CLOUD}", CharacterNames::Default, 8 + 32 + 3, 1},
        {"{CLOUD}", CharacterNames::Tags, 8 + 50 + 3, 1},
        {"{CLOUD}", CharacterNames::Widest, 8 + 126 + 3, 1},
        // A party member may be anyone: the widest default name, "Cait Sith" (50).
        {"{MEMBER 2}", CharacterNames::Default, 8 + 50 + 3, 1},
        {"{MEMBER 2}", CharacterNames::Widest, 8 + 126 + 3, 1},
        // Lines are not wrapped: the widest one counts.
        {"A\r\n" + std::string(40, 'A') + "\r\nAA", CharacterNames::Default, 8 + 360 + 3, 3},
        // {CHOICE} indents by 30; spaced characters advance 13 but end at their own width.
        {"{CHOICE}A", CharacterNames::Default, 8 + 30 + 9 + 3, 1},
        {"{SPACED CHARACTERS}AA", CharacterNames::Default, 8 + 13 + 9 + 3, 1},
        // Colour and pacing tags take no room; an indent with nothing after it needs none.
        {"{RED}A{PAUSE 2}{WHITE}", CharacterNames::Default, 8 + 9 + 3, 1},
        {"A\r\n{CHOICE}", CharacterNames::Default, 8 + 9 + 3, 2},
    };
    for (const ExtentCase& c : cases) {
        const std::vector<text::PageExtent> pages = Pages(c.tagged, c.names);
        ASSERT_EQ(pages.size(), 1u) << c.tagged;
        EXPECT_EQ(pages[0].width, c.width) << c.tagged;
        EXPECT_EQ(pages[0].lines, c.lines) << c.tagged;
    }
}

TEST(LayOutPages, PagesSplitAtThePageBreakOnItsOwnLine) {
    const std::vector<text::PageExtent> pages =
        Pages("A\r\n{NEW PAGE}\r\nAA\r\nAAA\r\n{NEW PAGE}\r\n");
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[0].lines, 1);
    EXPECT_EQ(pages[0].width, 20);
    EXPECT_EQ(pages[0].widestLine, 1);
    EXPECT_EQ(pages[1].lines, 2);
    EXPECT_EQ(pages[1].width, 38);
    // The editor's lines: "A", "{NEW PAGE}", "AA", "AAA".
    EXPECT_EQ(pages[1].widestLine, 4);
    EXPECT_EQ(pages[2].width, 0);
    // Without its line breaks the tag is plain letters.
    EXPECT_EQ(Pages("A{NEW PAGE}B").size(), 1u);
}

TEST(Pages, CountAndThePageOfAPosition) {
    const std::string tagged = "AB\r\n{NEW PAGE}\r\nC\r\n{NEW PAGE}\r\nD";
    EXPECT_EQ(text::PageCount(tagged), 3);
    EXPECT_EQ(text::PageCount(""), 1);
    EXPECT_EQ(text::PageCount("A\r\nB"), 1);
    const std::pair<std::size_t, int> positions[] = {
        {0, 0}, {2, 0}, {5, 0}, {15, 0}, {16, 1}, {17, 1}, {31, 2}, {32, 2}, {500, 2},
    };
    for (const auto& [position, page] : positions) {
        EXPECT_EQ(text::PageAt(tagged, position), page) << position;
    }
}

TEST(WindowHeights, SixteenPixelsALineAndNine) {
    EXPECT_EQ(text::WindowHeightForLines(1), 25);
    EXPECT_EQ(text::WindowHeightForLines(3), 57);
    EXPECT_EQ(text::WindowHeightForLines(15), 249);
    const std::pair<int, int> rooms[] = {{0, 0}, {24, 0}, {25, 1}, {40, 1}, {41, 2}, {56, 2},
                                         {57, 3}, {216, 12}};
    for (const auto& [height, lines] : rooms) EXPECT_EQ(text::LinesInWindow(height), lines) << height;
}

struct OverflowCase {
    std::string tagged;
    int width;
    int height;
    std::vector<std::string> reasons;
};

TEST(TextOverflows, AtTheEdgeAndOnePixelPast) {
    const OverflowCase cases[] = {
        // A line exactly as wide as the window, and one pixel wider.
        {"AAAA", 47, 25, {}},
        {"AAAA", 46, 25, {"line 1 is 47 px in a window of 46"}},
        // As many lines as the height holds, and one more.
        {"A\r\nA\r\nA", 320, 57, {}},
        {"A\r\nA\r\nA", 320, 56, {"page 1: 3 lines in a window for 2"}},
        // Each page on its own: the second is too wide and too high.
        {"A\r\n{NEW PAGE}\r\nAAAA\r\nA", 46, 25,
         {"line 3 is 47 px in a window of 46", "page 2: 2 lines in a window for 1"}},
        // The names decide: "Cloud" fits where nine of the widest glyph do not.
        {"{CLOUD}", 43, 25, {}},
    };
    for (const OverflowCase& c : cases) {
        std::vector<std::string> reasons;
        for (const text::Overflow& overflow :
             text::TextOverflows(c.tagged, c.width, c.height, CharacterNames::Default)) {
            reasons.push_back(text::OverflowReason(overflow));
        }
        EXPECT_EQ(reasons, c.reasons) << c.tagged;
        EXPECT_EQ(text::Overflows(Pages(c.tagged), c.width, c.height), !c.reasons.empty());
    }
    const std::vector<text::Overflow> widest =
        text::TextOverflows("{CLOUD}", 43, 25, CharacterNames::Widest);
    ASSERT_EQ(widest.size(), 1u);
    EXPECT_EQ(widest[0].kind, OverflowKind::Width);
    EXPECT_EQ(widest[0].needed, 137);
    EXPECT_EQ(widest[0].actual, 43);
}

TEST(NeededWindowSize, WidestLineAndMostLinesOfAnyPage) {
    const text::WindowSize size =
        text::NeededWindowSize(Pages("AAAA\r\n{NEW PAGE}\r\nA\r\nA\r\nA"));
    EXPECT_EQ(size.width, 47);
    EXPECT_EQ(size.height, 57);
    const text::WindowSize empty = text::NeededWindowSize(Pages(""));
    EXPECT_EQ(empty.width, 11);
    EXPECT_EQ(empty.height, 25);
}

}  // namespace
