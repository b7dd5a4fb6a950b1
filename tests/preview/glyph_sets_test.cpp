#include "preview/glyph_sets.h"

#include <array>
#include <stdexcept>

#include <gtest/gtest.h>

#include "preview/glyph_metrics.h"
#include "tests/preview/block_font.h"
#include "text/game_font.h"

namespace {

// The overflow check measures with the game's advance table, which cannot read the sheet: the
// built-in font must yield exactly those advances for the check and the preview to agree.
TEST(BuiltinFont, EveryAdvanceIsTheGames) {
    const preview::GlyphSets glyphs = preview::GlyphSets::FromBuiltinFont();
    for (int code = 0; code < 256; ++code) {
        EXPECT_EQ(glyphs.Width(static_cast<std::uint8_t>(code)), text::GameAdvances[code])
            << "code 0x" << std::hex << code;
    }
    EXPECT_EQ(glyphs.Advances(), text::GameAdvances);
}

TEST(BuiltinFont, GlyphsUseOnlyTheKeyShadowAndBodyColors) {
    const preview::GlyphSets glyphs = preview::GlyphSets::FromBuiltinFont();
    for (int code = 0; code < 256; ++code) {
        const QImage glyph =
            glyphs.Image(preview::GlyphSets::kWhite, static_cast<std::uint8_t>(code));
        for (int y = 0; y < glyph.height(); ++y) {
            for (int x = 0; x < glyph.width(); ++x) {
                const QRgb pixel = glyph.pixel(x, y);
                ASSERT_TRUE(pixel == preview::GlyphSets::kKeyColor || pixel == qRgb(33, 32, 33) ||
                            pixel == qRgb(255, 255, 255))
                    << "code " << code << " at " << x << ", " << y;
            }
        }
    }
}

struct MetricCase {
    std::uint8_t code;
    int lead;
    int spacing;
};

TEST(GlyphMetrics, LeadAndSpacingFollowTheCharacterTable) {
    const MetricCase cases[] = {
        {0x00, 0, 3},   // space
        {0x02, 2, 4},   // double quote
        {0x08, 2, 4},   // (
        {0x09, 2, 4},   // )
        {0x0C, 1, 4},   // ,
        {0x0E, 1, 4},   // .
        {0x11, 2, 3},   // 1
        {0x1A, 2, 3},   // :
        {0x21, 0, 1},   // A
        {0x60, 2, 1},   // Ä
        {0x61, 2, 4},   // Å
        {0x63, 2, 3},   // É
        {0x64, 2, 2},   // Ñ
        {0x74, 0, 0},   // î
        {0x80, 0, 1},   // %1
        {0x84, 0, 4},   // %2
        {0x85, 0, -1},  // %3
        {0x8B, 0, 1},   // %4
        {0xBD, 0, 0},   // ›
        {0xE0, 0, 0},   // {CHOICE}
        {0xE1, 0, 12},  // TAB
        {0xE7, 0, 0},   // line break
        {0xEA, 0, 0},   // {CLOUD}
        {0xFD, 0, 1},   // %50
        {0xFF, 0, 1},   // NUL
    };
    for (const MetricCase& c : cases) {
        EXPECT_EQ(preview::GlyphLead(c.code), c.lead) << "code 0x" << std::hex << int{c.code};
        EXPECT_EQ(preview::GlyphSpacing(c.code), c.spacing) << "code 0x" << std::hex << int{c.code};
    }
}

TEST(GlyphSets, WidthIsLeadPlusInkPlusSpacing) {
    const preview::GlyphSets glyphs = preview::GlyphSets::FromFontSheet(BlockFontSheet());
    for (int code = 1; code < 256; ++code) {
        const auto n = static_cast<std::uint8_t>(code);
        EXPECT_EQ(glyphs.Width(n),
                  preview::GlyphLead(n) + kBlockInkWidth + preview::GlyphSpacing(n))
            << "code " << code;
    }
    // The space is always three columns of key colour, whatever its cell holds.
    EXPECT_EQ(glyphs.Width(0), 3);
    EXPECT_EQ(glyphs.Image(preview::GlyphSets::kWhite, 0).pixel(1, 5),
              preview::GlyphSets::kKeyColor);
}

TEST(GlyphSets, LeadShiftsTheCellAndLosesColumnsPastTheEdge) {
    QImage sheet = BlockFontSheet();
    // '1' (code 0x11, lead 2): a body pixel in the cell's last column falls outside the glyph.
    const int left = 12 * (0x11 % 21);
    const int top = 12 * (0x11 / 21);
    sheet.setPixel(left + 11, top + 5, 2);
    const preview::GlyphSets glyphs = preview::GlyphSets::FromFontSheet(sheet);
    EXPECT_EQ(glyphs.Width(0x11), 2 + kBlockInkWidth + 3);
    const QImage one = glyphs.Image(preview::GlyphSets::kWhite, 0x11);
    EXPECT_EQ(one.pixel(1, 5), preview::GlyphSets::kKeyColor);
    EXPECT_EQ(one.pixel(2, 5), qRgb(255, 255, 255));
}

TEST(GlyphSets, EmptyCellsHaveInkWidthOne) {
    QImage sheet = BlockFontSheet();
    const int left = 12 * (0xEA % 21);
    const int top = 12 * (0xEA / 21);
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 12; ++x) sheet.setPixel(left + x, top + y, 0);
    }
    EXPECT_EQ(preview::GlyphSets::FromFontSheet(sheet).Width(0xEA), 1);  // {CLOUD}: spacing 0
}

TEST(GlyphSets, SpacingWidensWithKeyAndNarrowsByCutting) {
    const preview::GlyphSets glyphs = preview::GlyphSets::FromFontSheet(BlockFontSheet());
    const QImage tab = glyphs.Image(preview::GlyphSets::kWhite, 0xE1);
    ASSERT_EQ(tab.width(), kBlockInkWidth + 12);
    EXPECT_EQ(tab.pixel(tab.width() - 1, 5), preview::GlyphSets::kKeyColor);
    // "%3" loses its shadow column.
    const QImage three = glyphs.Image(preview::GlyphSets::kWhite, 0x85);
    ASSERT_EQ(three.width(), kBlockInkWidth - 1);
    EXPECT_EQ(three.pixel(3, 5), qRgb(255, 255, 255));
}

TEST(GlyphSets, ColoredSetsReplaceOnlyTheBody) {
    const preview::GlyphSets glyphs = preview::GlyphSets::FromFontSheet(BlockFontSheet());
    for (int color = 0; color < preview::GlyphSets::kColors; ++color) {
        const QImage glyph = glyphs.Image(color, 0x21);
        EXPECT_EQ(glyph.width(), glyphs.Width(0x21));
        EXPECT_EQ(glyph.pixel(0, 5), preview::GlyphSets::kBodyColors[color]) << color;
        EXPECT_EQ(glyph.pixel(4, 5), qRgb(33, 32, 33)) << color;
        EXPECT_EQ(glyph.pixel(0, 0), preview::GlyphSets::kKeyColor) << color;
    }
    EXPECT_EQ(preview::GlyphSets::kBodyColors[6], qRgb(247, 243, 0));
    EXPECT_EQ(preview::GlyphSets::kBodyColors[0], qRgb(107, 105, 105));
}

TEST(GlyphSets, RejectsSheetsThatCannotHoldTheFont) {
    EXPECT_THROW(preview::GlyphSets::FromFontSheet(QImage()), std::invalid_argument);
    QImage small(252, 155, QImage::Format_Indexed8);
    small.setColorTable({preview::GlyphSets::kKeyColor});
    small.fill(0);
    EXPECT_THROW(preview::GlyphSets::FromFontSheet(small), std::invalid_argument);
    // A direct-colour sheet is read by its colours, exactly, as long as they fit a palette.
    constexpr int kRedSet = 2;
    QImage rgb = BlockFontSheet().convertToFormat(QImage::Format_RGB32);
    const preview::GlyphSets fromRgb = preview::GlyphSets::FromFontSheet(rgb);
    EXPECT_EQ(fromRgb.Width(0x21), kBlockInkWidth + 1);
    EXPECT_EQ(fromRgb.Image(kRedSet, 0x21).pixel(4, 5), qRgb(33, 32, 33));
    EXPECT_EQ(fromRgb.Image(kRedSet, 0x21).pixel(0, 5), preview::GlyphSets::kBodyColors[2]);
    for (int x = 0; x < 300; ++x) rgb.setPixel(x % 252, 150 + x / 252, qRgb(x % 256, x / 256, 7));
    EXPECT_THROW(preview::GlyphSets::FromFontSheet(rgb), std::invalid_argument);
}

}  // namespace
