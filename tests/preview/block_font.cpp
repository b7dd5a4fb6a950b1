#include "tests/preview/block_font.h"

#include "preview/glyph_sets.h"

QImage BlockFontSheet() {
    QImage sheet(256, 256, QImage::Format_Indexed8);
    sheet.setColorTable({preview::GlyphSets::kKeyColor, qRgb(33, 32, 33), qRgb(255, 255, 255)});
    sheet.fill(0);
    for (int code = 1; code < 256; ++code) {
        const int left = preview::GlyphSets::kCellSize * (code % preview::GlyphSets::kCellsPerRow);
        const int top = preview::GlyphSets::kCellSize * (code / preview::GlyphSets::kCellsPerRow);
        for (int y = kBlockTop; y <= kBlockBottom + 1; ++y) {
            for (int x = 0; x < kBlockInkWidth; ++x) {
                const bool body = x < kBlockBodyWidth && y <= kBlockBottom;
                sheet.setPixel(left + x, top + y, body ? 2 : 1);
            }
        }
    }
    return sheet;
}
