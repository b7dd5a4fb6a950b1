#include "preview/window_preview.h"

#include <map>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "preview/glyph_sets.h"
#include "preview/window_background.h"
#include "tests/preview/block_font.h"
#include "text/window_overflow.h"

namespace {

using namespace std::string_literals;
using preview::kAutomaticSize;

constexpr QRgb kBlack = qRgb(0, 0, 0);
constexpr QRgb kShadow = qRgb(33, 32, 33);
constexpr TWindowColors kBlackWindow{0, 0, 0, 0};

const QRgb kGrey = preview::GlyphSets::kBodyColors[0];
const QRgb kBlue = preview::GlyphSets::kBodyColors[1];
const QRgb kRed = preview::GlyphSets::kBodyColors[2];
const QRgb kGreen = preview::GlyphSets::kBodyColors[4];
const QRgb kCyan = preview::GlyphSets::kBodyColors[5];
const QRgb kYellow = preview::GlyphSets::kBodyColors[6];
const QRgb kWhite = preview::GlyphSets::kBodyColors[7];

// Every glyph of the block font is 4 body columns and a shadow column, 5 + spacing wide:
// 'A' is 6 wide, so the pen moves 6 pixels per letter.
const preview::GlyphSets& Blocks() {
    static const preview::GlyphSets glyphs = preview::GlyphSets::FromFontSheet(BlockFontSheet());
    return glyphs;
}

QImage Draw(const std::string& text, int width = kAutomaticSize, int height = kAutomaticSize,
            const TWindowColors& colors = kBlackWindow) {
    return preview::DrawWindowPreview(Blocks(), colors, text, width, height);
}

// The left edges of the glyph bodies drawn on line `line` (0 for the first), found on the
// row through the middle of the bodies.
std::vector<int> GlyphStarts(const QImage& picture, int line) {
    const int y = 6 + 16 * line + 5;
    std::vector<int> starts;
    for (int x = 3; x < picture.width() - 3; ++x) {
        const QRgb here = picture.pixel(x, y);
        const QRgb before = picture.pixel(x - 1, y);
        const bool body = here != kBlack && here != kShadow;
        const bool bodyBefore = before != kBlack && before != kShadow;
        if (body && !bodyBefore) starts.push_back(x);
    }
    return starts;
}

// The body colour of the glyph whose body starts at x on line `line`, above and below the
// middle of the glyph.
QRgb UpperColor(const QImage& picture, int x, int line = 0) {
    return picture.pixel(x + 1, 6 + 16 * line + 3);
}
QRgb LowerColor(const QImage& picture, int x, int line = 0) {
    return picture.pixel(x + 1, 6 + 16 * line + 8);
}

struct SizeCase {
    std::string text;
    int width;
    int height;
    QSize expected;
};

TEST(DrawWindowPreview, PictureSizes) {
    const SizeCase cases[] = {
        {"", kAutomaticSize, kAutomaticSize, {320, 25}},
        {"A\r\nB\r\nC", kAutomaticSize, kAutomaticSize, {320, 57}},
        {"\r\n{NEW PAGE}\r\n", kAutomaticSize, kAutomaticSize, {320, 57}},
        {"A\rB", kAutomaticSize, kAutomaticSize, {320, 25}},
        {"A\r\nB\r\nC", kAutomaticSize, 30, {320, 30}},
        {"A\r\nB", 100, kAutomaticSize, {100, 41}},
        {std::string(51, 'A'), kAutomaticSize, kAutomaticSize, {320, 25}},
        {std::string(52, 'A'), kAutomaticSize, kAutomaticSize, {320, 41}},
        {"A", 1, 1, {1, 1}},
        {"A", 5000, 100, {preview::kMaxPreviewSide, 100}},
    };
    for (const SizeCase& c : cases) {
        EXPECT_EQ(Draw(c.text, c.width, c.height).size(), c.expected) << c.text;
    }
    std::string lines;
    for (int line = 0; line < 3000; ++line) lines += "A\r\n";
    EXPECT_EQ(Draw(lines).height(), preview::kMaxPreviewSide);
}

TEST(DrawWindowPreview, NoPictureForAnEmptyWindow) {
    EXPECT_TRUE(Draw("", 0, 50).isNull());
    EXPECT_TRUE(Draw("A", 50, 0).isNull());
    EXPECT_TRUE(Draw("A", 0, kAutomaticSize).isNull());
    EXPECT_TRUE(Draw("A", -7, 20).isNull());
}

struct PenCase {
    std::string text;
    int width;
    std::vector<std::vector<int>> lines;  // the glyph starts of each line
};

TEST(DrawWindowPreview, PenAdvancesAndWraps) {
    const PenCase cases[] = {
        {"AB", 320, {{8, 14}}},
        // Wraps at the character whose right edge would pass width - 3.
        {"AAAAAAA", 52, {{8, 14, 20, 26, 32, 38}, {8}}},
        {"AAAAAAA", 53, {{8, 14, 20, 26, 32, 38, 44}}},
        // At the character, not at a word boundary.
        {"AA AAAAA", 53, {{8, 14, 23, 29, 35, 41}, {8}}},
        {"A\r\nB", 320, {{8}, {8}}},
        // A CR alone is dropped; a LF alone has no glyph and draws as a 3-pixel space.
        {"A\rB", 320, {{8, 14}}},
        {"A\nB", 320, {{8, 17}}},
        // 0x82 draws as a comma (lead 1, spacing 4).
        {"\x82"
         "A",
         320,
         {{9, 18}}},
        // Placeholders: "%2" is one glyph with spacing 4; '%' without digits is the percent
        // sign; a number past 50 is no character and draws as a space.
        {"%2A", 320, {{8, 17}}},
        {"%xA", 320, {{8, 14, 20}}},
        {"%51A", 320, {{11}}},
        {"A%", 320, {{8, 14}}},
        // Unknown tags are drawn letter by letter; pacing tags take no room.
        {"{CLOUD}A", 320, {{8, 14, 20, 26, 32, 38, 44, 50}}},
        {"{blink}", 320, {{8, 14, 20, 26, 32, 38, 44}}},
        {"{PAUSE 3}{WAIT KEYPRESS}{SCROLLING}A", 320, {{8}}},
        // {CHOICE} moves the pen without drawing, even past the wrap limit.
        {"{CHOICE}A", 320, {{38}}},
        {"A{CHOICE}B", 40, {{8}, {8}}},
        // Spaced characters advance 13 whatever their width; wrapping still uses the width.
        {"{SPACED CHARACTERS}AB{SPACED CHARACTERS}C", 320, {{8, 21, 34}}},
        {"{SPACED CHARACTERS}ABC", 30, {{8, 21}, {8}}},
        {"ABC", 30, {{8, 14, 20}}},
    };
    for (const PenCase& c : cases) {
        const QImage picture = Draw(c.text, c.width);
        ASSERT_EQ(picture.height(), 25 + 16 * static_cast<int>(c.lines.size() - 1)) << c.text;
        for (std::size_t line = 0; line < c.lines.size(); ++line) {
            EXPECT_EQ(GlyphStarts(picture, static_cast<int>(line)), c.lines[line])
                << c.text << ", line " << line;
        }
    }
}

TEST(DrawWindowPreview, FixedHeightCutsLinesOff) {
    const QImage picture = Draw("A\r\nB\r\nC", 320, 30);
    ASSERT_EQ(picture.size(), QSize(320, 30));
    EXPECT_EQ(UpperColor(picture, 8, 1), kWhite);  // line 2 starts at row 22
    const QImage three = Draw("A\r\nB\r\nC");
    EXPECT_EQ(UpperColor(three, 8, 2), kWhite);
}

struct ColorCase {
    std::string text;
    std::vector<QRgb> upper;  // the colour of each glyph above its middle
    std::vector<QRgb> lower;  // and below it
};

TEST(DrawWindowPreview, ColorAndEffectTags) {
    const ColorCase cases[] = {
        {"A", {kWhite}, {kWhite}},
        {"{RED}A{GREEN}B{WHITE}C", {kRed, kGreen, kWhite}, {kRed, kGreen, kWhite}},
        // Multicolour cycles white, yellow, cyan, green, ... from the first character on.
        {"{MULTICOLOUR}ABCD", {kWhite, kYellow, kCyan, kGreen}, {kWhite, kYellow, kCyan, kGreen}},
        // A colour tag sets where the cycle goes on; turning it off restores the colour from
        // before it was turned on.
        {"{GREEN}{MULTICOLOUR}A{RED}BC{MULTICOLOUR}D",
         {kWhite, kRed, kBlue, kGreen},
         {kWhite, kRed, kBlue, kGreen}},
        // Grey follows blue, and white follows grey.
        {"{MULTICOLOUR}{GREY}AB", {kGrey, kWhite}, {kGrey, kWhite}},
        // Blink shows the lower half of each character in grey.
        {"{RED}{BLINK}AB{BLINK}C", {kRed, kRed, kRed}, {kGrey, kGrey, kRed}},
        // ... but not while multicolour is on.
        {"{BLINK}{MULTICOLOUR}AB", {kWhite, kYellow}, {kWhite, kYellow}},
    };
    for (const ColorCase& c : cases) {
        const QImage picture = Draw(c.text);
        const std::vector<int> starts = GlyphStarts(picture, 0);
        ASSERT_EQ(starts.size(), c.upper.size()) << c.text;
        for (std::size_t i = 0; i < starts.size(); ++i) {
            EXPECT_EQ(UpperColor(picture, starts[i]), c.upper[i]) << c.text << ", glyph " << i;
            EXPECT_EQ(LowerColor(picture, starts[i]), c.lower[i]) << c.text << ", glyph " << i;
        }
    }
}

TEST(DrawWindowPreview, BlinkGreysRowsSixToEleven) {
    const QImage picture = Draw("{RED}{BLINK}A");
    const int x = 8 + 1;
    EXPECT_EQ(picture.pixel(x, 6 + 5), kRed);
    for (int row = 6; row <= kBlockBottom; ++row)
        EXPECT_EQ(picture.pixel(x, 6 + row), kGrey) << row;
    EXPECT_EQ(picture.pixel(x, 6 + kBlockBottom + 1), kShadow);
}

TEST(DrawWindowPreview, GlyphsKeepTheirShadow) {
    const QImage picture = Draw("A");
    EXPECT_EQ(picture.pixel(8 + kBlockBodyWidth, 6 + 5), kShadow);
    EXPECT_EQ(picture.pixel(8 + 1, 6 + kBlockBottom + 1), kShadow);
    EXPECT_EQ(picture.pixel(8 + 1, 6 + 1), kBlack);  // the glyph's key pixels show the window
}

struct FramePixel {
    int x;
    int y;
    QRgb color;  // 0 for a transparent pixel
};

TEST(DrawWindowPreview, FrameBandsAndCorners) {
    const QRgb a = qRgb(148, 150, 148), b = qRgb(222, 223, 222), c = qRgb(74, 73, 74),
               d = qRgb(123, 121, 123), e = qRgb(198, 199, 198), f = qRgb(49, 48, 49);
    const FramePixel pixels[] = {
        // Top left corner and the top band.
        {0, 0, 0},
        {1, 0, 0},
        {2, 0, a},
        {0, 1, 0},
        {1, 1, d},
        {2, 1, b},
        {0, 2, d},
        {1, 2, e},
        {2, 2, d},
        {3, 0, a},
        {3, 1, b},
        {3, 2, c},
        {315, 0, a},
        {315, 2, c},
        // Top right corner.
        {316, 0, a},
        {317, 0, c},
        {318, 0, 0},
        {319, 0, 0},
        {318, 1, f},
        {319, 1, 0},
        {319, 2, f},
        // Left and right bands.
        {0, 3, d},
        {1, 3, e},
        {2, 3, f},
        {0, 20, d},
        {317, 3, d},
        {318, 3, e},
        {319, 3, f},
        {319, 21, f},
        // Bottom left corner and the bottom band.
        {0, 21, d},
        {0, 22, f},
        {0, 23, 0},
        {1, 23, f},
        {0, 24, 0},
        {1, 24, 0},
        {2, 24, c},
        {3, 22, a},
        {3, 23, b},
        {3, 24, c},
        {316, 24, c},
        // Bottom right corner.
        {317, 22, e},
        {318, 22, d},
        {319, 22, f},
        {317, 23, a},
        {319, 23, 0},
        {317, 24, c},
        {318, 24, 0},
        {319, 24, 0},
    };
    const QImage picture = Draw("", kAutomaticSize, kAutomaticSize, preview::DefaultWindowColors);
    ASSERT_EQ(picture.format(), QImage::Format_ARGB32);
    for (const FramePixel& p : pixels) {
        const QRgb pixel = picture.pixel(p.x, p.y);
        if (p.color == 0) {
            EXPECT_EQ(qAlpha(pixel), 0) << p.x << ", " << p.y;
            EXPECT_EQ(pixel & 0xFFFFFF, 0xFF00FFu) << p.x << ", " << p.y;
        } else {
            EXPECT_EQ(pixel, p.color) << p.x << ", " << p.y;
        }
    }
    // Inside the frame the background is opaque.
    EXPECT_EQ(qAlpha(picture.pixel(160, 12)), 255);
}

struct SmallFrame {
    int width;
    int height;
    // One letter per pixel, row after row: a frame colour, K for transparent, '.' for the
    // background.
    std::string pixels;
};

TEST(DrawWindowPreview, FramesOfSmallWindows) {
    const std::map<char, QRgb> colors = {
        {'A', qRgb(148, 150, 148)}, {'B', qRgb(222, 223, 222)}, {'C', qRgb(74, 73, 74)},
        {'D', qRgb(123, 121, 123)}, {'E', qRgb(198, 199, 198)}, {'F', qRgb(49, 48, 49)},
    };
    const SmallFrame frames[] = {
        // The corners overlap, drawn top right, top left, bottom left, bottom right; no band
        // fits.
        {4, 4,
         "DEDK"
         "FEDF"
         "KAFK"
         "KCKK"},
        // The bottom and right bands fit one pixel each; the top and left ones do not.
        {7, 7,
         "KKAACKK"
         "KDBBAFK"
         "DEDAEDF"
         "DED.DEF"
         "FDEAEDF"
         "KFABAFK"
         "KKCCCKK"},
    };
    for (const SmallFrame& frame : frames) {
        const QImage picture = Draw("", frame.width, frame.height, preview::DefaultWindowColors);
        ASSERT_EQ(picture.size(), QSize(frame.width, frame.height));
        for (int y = 0; y < frame.height; ++y) {
            for (int x = 0; x < frame.width; ++x) {
                const char letter = frame.pixels[static_cast<std::size_t>(y * frame.width + x)];
                const QRgb pixel = picture.pixel(x, y);
                if (letter == 'K') {
                    EXPECT_EQ(qAlpha(pixel), 0) << frame.width << ": " << x << ", " << y;
                } else if (letter == '.') {
                    EXPECT_EQ(qAlpha(pixel), 255) << frame.width << ": " << x << ", " << y;
                } else {
                    EXPECT_EQ(pixel, colors.at(letter)) << frame.width << ": " << x << ", " << y;
                }
            }
        }
    }
}

TEST(DrawWindowPreview, SmallWindowsStayInsideThePicture) {
    for (int width = 1; width <= 9; ++width) {
        for (int height = 1; height <= 9; ++height) {
            const QImage picture = Draw("AB", width, height, preview::DefaultWindowColors);
            EXPECT_EQ(picture.size(), QSize(width, height));
        }
    }
    // Bands appear only once the window is big enough: the left band's outer column needs a
    // width of 6.
    const QRgb d = qRgb(123, 121, 123);
    EXPECT_NE(Draw("", 5, 10, preview::DefaultWindowColors).pixel(0, 3), d);
    EXPECT_EQ(Draw("", 6, 10, preview::DefaultWindowColors).pixel(0, 3), d);
}

TEST(DrawWindowPreview, AnyTextAndSizeGivesAPictureOfThatSize) {
    const std::string fragments[] = {
        "{BLINK}",  "{MULTICOLOUR}",
        "{CHOICE}", "{SPACED CHARACTERS}",
        "{RED}",    "{PAUSE 3}",
        "{CLOUD}",  "{",
        "%",        "%3",
        "%99",      "\r\n",
        "\r",       "\n",
        "A",        "m",
        "\t",       "\x82",
        "\xFF",     "\0"s,
        "\xE9",
    };
    const int sizes[] = {kAutomaticSize, 1, 2, 3, 4, 5, 7, 8, 12, 40, 320};
    std::mt19937 random(20261208);
    for (int round = 0; round < 300; ++round) {
        std::string text;
        const int count = static_cast<int>(random() % 60);
        for (int i = 0; i < count; ++i) text += fragments[random() % std::size(fragments)];
        const int width = sizes[random() % std::size(sizes)];
        const int height = sizes[random() % std::size(sizes)];
        const QImage picture = Draw(text, width, height);
        ASSERT_FALSE(picture.isNull());
        EXPECT_EQ(picture.width(), width == kAutomaticSize ? preview::kAutomaticWidth : width);
        if (height != kAutomaticSize) {
            EXPECT_EQ(picture.height(), height);
        }
    }
}

struct Color {
    int r, g, b;
};

void ExpectNear(QRgb pixel, Color expected, int tolerance, const char* where) {
    EXPECT_NEAR(qRed(pixel), expected.r, tolerance) << where;
    EXPECT_NEAR(qGreen(pixel), expected.g, tolerance) << where;
    EXPECT_NEAR(qBlue(pixel), expected.b, tolerance) << where;
}

QImage GameView(const std::string& text, int width, int height, int page = 0,
                text::CharacterNames names = text::CharacterNames::Default) {
    return preview::DrawGameView(Blocks(), kBlackWindow, text, width, height, page, names);
}

bool IsHatch(QRgb pixel) {
    return pixel == preview::kOverflowHatchLight || pixel == preview::kOverflowHatchDark;
}

TEST(DrawGameView, WhatPassesTheEdgesStandsOnAHatch) {
    // Ten glyphs 6 wide need 8 + 60 + 3 = 71 pixels; the line is not wrapped.
    const QImage wide = GameView(std::string(10, 'A'), 50, 25);
    ASSERT_EQ(wide.size(), QSize(71, 25));
    EXPECT_EQ(wide.pixel(60, 0), preview::kOverflowHatchLight);
    EXPECT_EQ(wide.pixel(62, 0), preview::kOverflowHatchDark);
    // The glyphs past the edge: bodies at 50, 56 and 62, the hatch between them.
    for (const int x : {50, 56, 62}) {
        EXPECT_EQ(UpperColor(wide, x), kWhite) << x;
        EXPECT_EQ(wide.pixel(x + kBlockBodyWidth, 6 + 5), kShadow) << x;
        EXPECT_TRUE(IsHatch(wide.pixel(x + 1, 6 + kBlockBottom + 3))) << x;
    }
    EXPECT_EQ(qAlpha(wide.pixel(49, 0)), 0);  // the window's own cut corner
    // A third line below a window of two: the picture grows to 16 x 3 + 9.
    const QImage tall = GameView("A\r\nB\r\nC", 100, 41);
    ASSERT_EQ(tall.size(), QSize(100, 57));
    EXPECT_EQ(tall.pixel(9, 6 + 32 + 5), kWhite);
    EXPECT_TRUE(IsHatch(tall.pixel(30, 50)));
    EXPECT_FALSE(IsHatch(tall.pixel(30, 30)));
}

TEST(DrawGameView, TheChosenPageWithNamesInPlaceOfTheTags) {
    const std::string text = "A\r\n{NEW PAGE}\r\n{CLOUD}B\r\nC";
    const QImage second = GameView(text, kAutomaticSize, kAutomaticSize, 1);
    ASSERT_EQ(second.size(), QSize(320, 41));
    EXPECT_EQ(GlyphStarts(second, 0), (std::vector<int>{8, 14, 20, 26, 32, 38}));
    EXPECT_EQ(GlyphStarts(second, 1), (std::vector<int>{8}));
    EXPECT_EQ(GlyphStarts(GameView(text, 320, 57, 0), 0), (std::vector<int>{8}));
    EXPECT_TRUE(GlyphStarts(GameView(text, 320, 57, 2), 0).empty());
    // Nine of the widest glyph: the block font's double quote, 2 + 5 + 4 wide.
    const QImage widest =
        GameView("{TIFA}", kAutomaticSize, kAutomaticSize, 0, text::CharacterNames::Widest);
    EXPECT_EQ(GlyphStarts(widest, 0).size(), 9u);
    EXPECT_EQ(GlyphStarts(widest, 0).back(), 8 + 8 * 11 + 2);
}

TEST(DrawGameView, ATextThatFitsDrawsAsThePreview) {
    const std::string text = "{RED}AB\r\n{MULTICOLOUR}CD";
    EXPECT_EQ(GameView(text, 100, 57), Draw(text, 100, 57));
    EXPECT_TRUE(GameView("A", 0, 25).isNull());
    EXPECT_TRUE(GameView("A", 25, -3).isNull());
}

// The picture grows past the window exactly when the overflow check finds an overflow: both
// measure with the same walk, and the built-in font has the game's advances.
TEST(DrawGameView, AgreesWithTheOverflowCheck) {
    const preview::GlyphSets glyphs = preview::GlyphSets::FromBuiltinFont();
    const std::string texts[] = {
        "{CAIT SITH}, {MEMBER 1} and {CLOUD}!",
        "\x93Well{PAUSE 1}... I'm not going.\x94\r\n{CHOICE}Yes\r\n{CHOICE}No",
        "{SPACED CHARACTERS}CLOSED{SPACED CHARACTERS} %12 \xC5\xC5",
        "A\r\nB\r\n{NEW PAGE}\r\nWWWWWWWWWWWWWWWWWWWWWWWWWW\r\nC\r\nD",
    };
    for (const std::string& text : texts) {
        for (const auto names : {text::CharacterNames::Default, text::CharacterNames::Widest}) {
            const std::vector<text::PageExtent> pages =
                text::LayOutPages(text, text::GameAdvances, names);
            const text::WindowSize needed = text::NeededWindowSize(pages);
            for (const int dw : {-1, 0}) {
                for (const int dh : {-1, 0}) {
                    const int width = needed.width + dw;
                    const int height = needed.height + dh;
                    bool grows = false;
                    for (int page = 0; page < static_cast<int>(pages.size()); ++page) {
                        const QImage picture = preview::DrawGameView(
                            glyphs, preview::DefaultWindowColors, text, width, height, page, names);
                        grows = grows || picture.size() != QSize(width, height);
                    }
                    EXPECT_EQ(grows, text::Overflows(pages, width, height))
                        << text << " in " << width << " x " << height;
                    EXPECT_EQ(grows, dw < 0 || dh < 0) << text;
                }
            }
        }
    }
}

TEST(WindowBackground, CornersTakeTheirColors) {
    QImage picture(64, 32, QImage::Format_ARGB32);
    // Red, green, blue and white corners (0x00BBGGRR).
    preview::FillWindowBackground(picture, {0x0000FF, 0x00FF00, 0xFF0000, 0xFFFFFF});
    EXPECT_EQ(picture.pixel(0, 0), qRgb(255, 0, 0));
    ExpectNear(picture.pixel(63, 0), {0, 255, 0}, 8, "top right");
    ExpectNear(picture.pixel(0, 31), {0, 0, 255}, 8, "bottom left");
    ExpectNear(picture.pixel(63, 31), {255, 255, 255}, 8, "bottom right");
}

TEST(WindowBackground, RoundsToTheNearestValue) {
    QImage picture(14, 1, QImage::Format_ARGB32);
    preview::FillWindowBackground(picture, {0, 0x0000FF, 0, 0x0000FF});  // red from 0 to 255 across
    EXPECT_EQ(qRed(picture.pixel(7, 0)), 128);                  // 127.5
    EXPECT_EQ(qRed(picture.pixel(13, 0)), 237);                 // 236.8
    EXPECT_EQ(qRed(picture.pixel(1, 0)), 18);                   // 18.2
    // Only 32-bit pictures are drawn into.
    QImage indexed(14, 1, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(1, 2, 3)});
    indexed.fill(0);
    preview::FillWindowBackground(indexed, preview::DefaultWindowColors);
    EXPECT_EQ(indexed.pixel(7, 0), qRgb(1, 2, 3));
}

TEST(WindowBackground, TheDiagonalSplitsTwoTriangles) {
    QImage picture(100, 100, QImage::Format_ARGB32);
    // Only the bottom left corner is lit: the triangle above the diagonal does not see it.
    preview::FillWindowBackground(picture, {0, 0, 0xFFFFFF, 0});
    for (int y = 0; y < 100; ++y) {
        for (int x = y; x < 100; ++x)
            ASSERT_EQ(picture.pixel(x, y), qRgb(0, 0, 0)) << x << "," << y;
    }
    // Below it the light falls off linearly: (y/H - x/W) of white.
    EXPECT_EQ(picture.pixel(5, 10), qRgb(13, 13, 13));
    EXPECT_EQ(picture.pixel(0, 50), qRgb(128, 128, 128));
    EXPECT_EQ(picture.pixel(0, 99), qRgb(252, 252, 252));
}

}  // namespace
