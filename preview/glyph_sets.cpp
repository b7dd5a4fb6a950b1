#include "preview/glyph_sets.h"

#include <algorithm>
#include <stdexcept>

#include "preview/glyph_metrics.h"

const std::array<QRgb, GlyphSets::kColours> GlyphSets::kBodyColours = {
    qRgb(107, 105, 105), qRgb(0, 105, 198), qRgb(198, 0, 0),   qRgb(247, 0, 247),
    qRgb(90, 243, 123),  qRgb(0, 243, 247), qRgb(247, 243, 0), qRgb(255, 255, 255),
};

namespace {

constexpr int kSpaceWidth = 3;
constexpr int kSheetWidth = GlyphSets::kCellSize * GlyphSets::kCellsPerRow;
constexpr int kSheetHeight = GlyphSets::kCellSize * ((255 / GlyphSets::kCellsPerRow) + 1);

bool SameColour(QRgb a, QRgb b) { return (a & 0xFFFFFF) == (b & 0xFFFFFF); }

}  // namespace

GlyphSets GlyphSets::FromFontSheet(const QImage& sheet) {
    if (sheet.width() < kSheetWidth || sheet.height() < kSheetHeight) {
        throw std::invalid_argument("The font sheet is smaller than 256 cells of 12 x 12 pixels.");
    }
    QImage indexed = sheet.format() == QImage::Format_Indexed8
                         ? sheet
                         : sheet.convertToFormat(QImage::Format_Indexed8, Qt::AvoidDither);
    const QList<QRgb> table = indexed.colorTable();
    if (indexed.isNull() || table.size() > 256) {
        throw std::invalid_argument("The font sheet has more than 256 colours.");
    }

    GlyphSets sets;
    std::array<QRgb, 256> white{};
    white.fill(qRgb(0, 0, 0));
    std::uint8_t keyIndex = 0;
    bool keyFound = false;
    for (int i = 0; i < table.size(); ++i) {
        white[static_cast<std::size_t>(i)] = table[i] | 0xFF000000;
        if (!keyFound && SameColour(table[i], kKeyColour)) {
            keyIndex = static_cast<std::uint8_t>(i);
            keyFound = true;
        }
    }
    if (!keyFound) {
        // A sheet without any background pixel still needs a key entry for the padding.
        if (table.size() == 256) throw std::invalid_argument("The font sheet has no key colour.");
        keyIndex = static_cast<std::uint8_t>(table.size());
        white[keyIndex] = kKeyColour;
    }
    const auto isInk = [&](std::uint8_t index) { return !SameColour(white[index], kKeyColour); };

    for (int code = 0; code < 256; ++code) {
        Glyph& glyph = sets.glyphs_[static_cast<std::size_t>(code)];
        if (code == 0) {
            glyph.width = kSpaceWidth;
            glyph.pixels.assign(kSpaceWidth * kHeight, keyIndex);
            continue;
        }
        const auto n = static_cast<std::uint8_t>(code);
        const int lead = GlyphLead(n);
        const int cellX = kCellSize * (code % kCellsPerRow);
        const int cellY = kCellSize * (code / kCellsPerRow);
        std::array<std::uint8_t, kCellSize * kHeight> cell;
        cell.fill(keyIndex);
        int inkWidth = 1;
        for (int y = 0; y < kHeight; ++y) {
            const uchar* row = indexed.constScanLine(cellY + y);
            // Columns pushed past the cell's right edge by the lead are lost.
            for (int x = lead; x < kCellSize; ++x) {
                const std::uint8_t index = row[cellX + x - lead];
                cell[static_cast<std::size_t>(y * kCellSize + x)] = index;
                if (isInk(index)) inkWidth = std::max(inkWidth, x + 1);
            }
        }
        glyph.width = std::max(0, inkWidth + GlyphSpacing(n));
        glyph.pixels.assign(static_cast<std::size_t>(glyph.width * kHeight), keyIndex);
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < std::min(glyph.width, kCellSize); ++x) {
                glyph.pixels[static_cast<std::size_t>(y * glyph.width + x)] =
                    cell[static_cast<std::size_t>(y * kCellSize + x)];
            }
        }
    }

    for (int colour = 0; colour < kColours; ++colour) {
        std::array<QRgb, 256>& palette = sets.palettes_[static_cast<std::size_t>(colour)];
        palette = white;
        for (QRgb& entry : palette) {
            if (SameColour(entry, kBodyColours[kWhite])) entry = kBodyColours[colour];
        }
    }
    return sets;
}

GlyphSets GlyphSets::FromBuiltinFont() {
    const QImage sheet(QStringLiteral(":/preview/font_sheet.png"));
    if (sheet.isNull()) throw std::runtime_error("The built-in font sheet could not be read.");
    return FromFontSheet(sheet);
}

QImage GlyphSets::Image(int colour, std::uint8_t code) const {
    const Glyph& glyph = glyphs_[code];
    QImage image(glyph.width, kHeight, QImage::Format_Indexed8);
    const auto& palette = palettes_[static_cast<std::size_t>(colour)];
    image.setColorTable(QList<QRgb>(palette.begin(), palette.end()));
    for (int y = 0; y < kHeight; ++y) {
        std::copy_n(glyph.pixels.begin() + y * glyph.width, glyph.width, image.scanLine(y));
    }
    return image;
}
