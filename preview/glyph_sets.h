#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include <QImage>
#include <QRgb>

#include "text/game_font.h"
#include "text/text_layout.h"

namespace preview {

// The game's font as ready-to-copy glyphs in the eight text colours: colour numbers 0 to 7
// are grey, blue, red, purple, green, cyan, yellow and white, in the order of the colour tags.
// Every glyph is 12 pixels high and as wide as its character's advance; a glyph is an 8-bit
// palette image, and the colours differ only in their palettes, where the white of the glyph
// body is replaced by the colour.
class GlyphSets {
public:
    static constexpr int kColors = 8;
    static constexpr int kWhite = text::kWhiteColor;
    static constexpr int kGrey = text::kGreyColor;
    static constexpr int kHeight = 12;
    static constexpr int kCellSize = 12;
    static constexpr int kCellsPerRow = 21;
    // The transparent colour of the sheet, the glyphs and the previews.
    static constexpr QRgb kKeyColor = 0xFFFF00FF;

    // The body colour of each colour number, opaque.
    static constexpr std::array<QRgb, kColors> kBodyColors = {
        qRgb(107, 105, 105), qRgb(0, 105, 198), qRgb(198, 0, 0),   qRgb(247, 0, 247),
        qRgb(90, 243, 123),  qRgb(0, 243, 247), qRgb(247, 243, 0), qRgb(255, 255, 255),
    };

    // Builds the sets from a font sheet: 12 x 12 cells, 21 per row, the cell of code n at
    // (12 (n mod 21), 12 (n div 21)), key colour (255, 0, 255) as background and body
    // (255, 255, 255). A sheet of any format is read by its colours, alpha ignored. Throws
    // std::invalid_argument when the sheet is smaller than the 256 cells or its cells hold
    // more than 256 colours.
    static GlyphSets FromFontSheet(const QImage& sheet);
    // Builds the sets from the font sheet compiled into the program; throws
    // std::runtime_error when it cannot be read.
    static GlyphSets FromBuiltinFont();

    // The advance of code: its glyph's width, the same in every colour.
    int Width(std::uint8_t code) const { return advances_[code]; }
    // The advances of all codes, for laying out text.
    const text::GlyphAdvances& Advances() const { return advances_; }
    // The palette index of pixel (x, y) of the glyph of code; x < Width(code), y < 12.
    std::uint8_t Index(std::uint8_t code, int x, int y) const {
        return glyphs_[code].pixels[static_cast<std::size_t>(y * glyphs_[code].width + x)];
    }
    // The palette of colour number colour (0 to 7); indices the sheet does not use are black.
    const std::array<QRgb, 256>& Palette(int color) const { return palettes_[color]; }
    // The glyph of code in colour, as an 8-bit palette image (for inspection and tests).
    QImage Image(int color, std::uint8_t code) const;

private:
    struct Glyph {
        int width = 0;
        std::vector<std::uint8_t> pixels;  // width x 12 palette indices, row by row
    };

    std::array<Glyph, 256> glyphs_;
    text::GlyphAdvances advances_{};
    std::array<std::array<QRgb, 256>, kColors> palettes_{};
};

}  // namespace preview
