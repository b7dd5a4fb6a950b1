#include "preview/glyph_sets.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "preview/glyph_metrics.h"

namespace preview {

namespace {

constexpr int kSpaceWidth = 3;
constexpr int kSheetWidth = GlyphSets::kCellSize * GlyphSets::kCellsPerRow;
constexpr int kSheetHeight = GlyphSets::kCellSize * ((255 / GlyphSets::kCellsPerRow) + 1);

bool SameColor(QRgb a, QRgb b) { return (a & 0xFFFFFF) == (b & 0xFFFFFF); }

// The cells of a font sheet as palette indices, kSheetWidth x kSheetHeight, and the palette:
// a palette sheet keeps its own, any other gets one entry per colour in order of appearance.
struct IndexedSheet {
    std::vector<std::uint8_t> pixels;
    std::vector<QRgb> palette;
};

IndexedSheet IndexSheet(const QImage& sheet) {
    IndexedSheet indexed;
    indexed.pixels.resize(static_cast<std::size_t>(kSheetWidth) * kSheetHeight);
    auto out = indexed.pixels.begin();
    if (sheet.format() == QImage::Format_Indexed8) {
        for (const QRgb color : sheet.colorTable()) indexed.palette.push_back(color | 0xFF000000);
        for (int y = 0; y < kSheetHeight; ++y)
            out = std::copy_n(sheet.constScanLine(y), kSheetWidth, out);
        return indexed;
    }
    const QImage rgb = sheet.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < kSheetHeight; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < kSheetWidth; ++x) {
            const QRgb color = row[x] | 0xFF000000;
            auto found = std::find(indexed.palette.begin(), indexed.palette.end(), color);
            if (found == indexed.palette.end()) {
                if (indexed.palette.size() == 256) {
                    throw std::invalid_argument("The font sheet has more than 256 colours.");
                }
                found = indexed.palette.insert(indexed.palette.end(), color);
            }
            *out++ = static_cast<std::uint8_t>(found - indexed.palette.begin());
        }
    }
    return indexed;
}

}  // namespace

GlyphSets GlyphSets::FromFontSheet(const QImage& sheet) {
    if (sheet.width() < kSheetWidth || sheet.height() < kSheetHeight) {
        throw std::invalid_argument("The font sheet is smaller than 256 cells of 12 x 12 pixels.");
    }
    const IndexedSheet indexed = IndexSheet(sheet);
    GlyphSets sets;
    std::array<QRgb, 256> white{};
    white.fill(qRgb(0, 0, 0));
    std::copy(indexed.palette.begin(), indexed.palette.end(), white.begin());
    const auto key = std::find_if(indexed.palette.begin(), indexed.palette.end(),
                                  [](QRgb color) { return SameColor(color, kKeyColor); });
    std::uint8_t keyIndex = 0;
    if (key != indexed.palette.end()) {
        keyIndex = static_cast<std::uint8_t>(key - indexed.palette.begin());
    } else {
        // A sheet without any background pixel still needs a key entry for the padding.
        if (indexed.palette.size() == 256) {
            throw std::invalid_argument("The font sheet has no key colour.");
        }
        keyIndex = static_cast<std::uint8_t>(indexed.palette.size());
        white[keyIndex] = kKeyColor;
    }
    const auto isInk = [&](std::uint8_t index) { return !SameColor(white[index], kKeyColor); };

    for (int code = 0; code < 256; ++code) {
        Glyph& glyph = sets.glyphs_[static_cast<std::size_t>(code)];
        if (code == 0) {
            glyph.width = kSpaceWidth;
            sets.advances_[0] = kSpaceWidth;
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
            const std::uint8_t* row =
                indexed.pixels.data() + static_cast<std::size_t>(cellY + y) * kSheetWidth;
            // Columns pushed past the cell's right edge by the lead are lost.
            for (int x = lead; x < kCellSize; ++x) {
                const std::uint8_t index = row[cellX + x - lead];
                cell[static_cast<std::size_t>(y * kCellSize + x)] = index;
                if (isInk(index)) inkWidth = std::max(inkWidth, x + 1);
            }
        }
        glyph.width = std::max(0, inkWidth + GlyphSpacing(n));
        sets.advances_[static_cast<std::size_t>(code)] = glyph.width;
        glyph.pixels.assign(static_cast<std::size_t>(glyph.width * kHeight), keyIndex);
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < std::min(glyph.width, kCellSize); ++x) {
                glyph.pixels[static_cast<std::size_t>(y * glyph.width + x)] =
                    cell[static_cast<std::size_t>(y * kCellSize + x)];
            }
        }
    }

    for (int color = 0; color < kColors; ++color) {
        std::array<QRgb, 256>& palette = sets.palettes_[static_cast<std::size_t>(color)];
        palette = white;
        for (QRgb& entry : palette) {
            if (SameColor(entry, kBodyColors[kWhite])) entry = kBodyColors[color];
        }
    }
    return sets;
}

GlyphSets GlyphSets::FromBuiltinFont() {
    const QImage sheet(QStringLiteral(":/preview/font_sheet.png"));
    if (sheet.isNull()) throw std::runtime_error("The built-in font sheet could not be read.");
    return FromFontSheet(sheet);
}

QImage GlyphSets::Image(int color, std::uint8_t code) const {
    const Glyph& glyph = glyphs_[code];
    QImage image(glyph.width, kHeight, QImage::Format_Indexed8);
    const auto& palette = palettes_[static_cast<std::size_t>(color)];
    image.setColorTable(QList<QRgb>(palette.begin(), palette.end()));
    for (int y = 0; y < kHeight; ++y) {
        std::copy_n(glyph.pixels.begin() + y * glyph.width, glyph.width, image.scanLine(y));
    }
    return image;
}

}  // namespace preview
