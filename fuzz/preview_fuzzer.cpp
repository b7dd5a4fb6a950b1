// Never-crash target of the text preview: the first two bytes choose the window's width and
// height (automatic, or 0 to 254 pixels), the rest is the tagged text. The picture must have
// exactly the size asked for, and every pixel is either opaque or the transparent key colour.
// The game view of the first page, with the widest names, must be the window grown by exactly
// what the overflow check measures.
#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstdlib>
#include <string_view>
#include <vector>

#include <QImage>

#include "preview/glyph_sets.h"
#include "preview/window_preview.h"
#include "text/text_layout.h"

namespace {

int Side(std::uint8_t byte) { return byte == 0xFF ? preview::kAutomaticSize : byte; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const preview::GlyphSets glyphs = preview::GlyphSets::FromBuiltinFont();
    if (size < 2) return 0;
    const int width = Side(data[0]);
    const int height = Side(data[1]);
    const std::string_view text(reinterpret_cast<const char*>(data + 2), size - 2);
    const QImage picture =
        preview::DrawWindowPreview(glyphs, preview::DefaultWindowColors, text, width, height);
    const QImage game = preview::DrawGameView(glyphs, preview::DefaultWindowColors, text, width,
                                              height, 0, text::CharacterNames::Widest);
    if (width == 0 || height == 0) {
        if (!picture.isNull() || !game.isNull()) std::abort();
        return 0;
    }
    const std::vector<text::PageExtent> pages =
        text::LayOutPages(text, text::GameAdvances, text::CharacterNames::Widest);
    const int neededHeight =
        std::min(text::WindowHeightForLines(pages[0].lines), preview::kMaxPreviewSide);
    const int windowWidth = width == preview::kAutomaticSize ? preview::kAutomaticWidth : width;
    const int windowHeight = height == preview::kAutomaticSize ? neededHeight : height;
    if (game.width() != std::max(windowWidth, std::min(pages[0].width, preview::kMaxPreviewSide)) ||
        game.height() != std::max(windowHeight, neededHeight)) {
        std::abort();
    }
    if (picture.width() != (width == preview::kAutomaticSize ? preview::kAutomaticWidth : width))
        std::abort();
    if (height != preview::kAutomaticSize && picture.height() != height) std::abort();
    for (int y = 0; y < picture.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            const int alpha = qAlpha(line[x]);
            if (alpha != 255 && !(alpha == 0 && (line[x] & 0xFFFFFF) == 0xFF00FF)) std::abort();
        }
    }
    return 0;
}
