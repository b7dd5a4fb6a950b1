#include "preview/window_preview.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "preview/window_background.h"
#include "preview/window_frame.h"

namespace preview {

namespace {

constexpr int kFirstLineHeight = 25;
// Blinking characters show the grey glyph from this row down.
constexpr int kBlinkFromRow = 6;
// The hatch's stripes: kHatchLight of every kHatchPeriod diagonals are light.
constexpr int kHatchPeriod = 6;
constexpr int kHatchLight = 2;
constexpr std::size_t kReservedStamps = 4096;

// Copies rows fromRow to 11 of the glyph of code in colour into the layer at (x, y), key
// pixels included, clipped to the layer.
void CopyGlyph(const GlyphSets& glyphs, std::vector<QRgb>& layer, int layerWidth, int layerHeight,
               std::uint8_t code, int color, int x, int y, int fromRow) {
    const std::array<QRgb, 256>& palette = glyphs.Palette(color);
    const int glyphWidth = glyphs.Width(code);
    const int left = std::max(0, -x);
    const int right = std::min(glyphWidth, layerWidth - x);
    const int top = std::max(fromRow, -y);
    const int bottom = std::min(GlyphSets::kHeight, layerHeight - y);
    for (int row = top; row < bottom; ++row) {
        QRgb* out = layer.data() + static_cast<std::size_t>(y + row) * layerWidth + x;
        for (int column = left; column < right; ++column) {
            out[column] = palette[glyphs.Index(code, column, row)];
        }
    }
}

// The text layer, key colour where nothing is drawn. Glyphs are copied whole, so a glyph
// drawn over another clears what its own background covers.
std::vector<QRgb> TextLayer(const GlyphSets& glyphs, const std::vector<text::GlyphStamp>& stamps,
                            int layerWidth, int layerHeight) {
    std::vector<QRgb> layer(static_cast<std::size_t>(layerWidth) * layerHeight,
                            GlyphSets::kKeyColor);
    for (const text::GlyphStamp& stamp : stamps) {
        if (stamp.y >= layerHeight || stamp.x >= layerWidth) continue;
        CopyGlyph(glyphs, layer, layerWidth, layerHeight, stamp.code, stamp.color, stamp.x,
                  stamp.y, 0);
        if (stamp.blink) {
            CopyGlyph(glyphs, layer, layerWidth, layerHeight, stamp.code, GlyphSets::kGrey, stamp.x,
                      stamp.y, kBlinkFromRow);
        }
    }
    return layer;
}

// The window of width x height: the shaded background, the top left part of the text layer
// over it, and the frame. Whatever is in the key colour shows the control's background.
QImage WindowPicture(const TWindowColors& colors, const std::vector<QRgb>& layer, int layerWidth,
                     int width, int height) {
    QImage picture(width, height, QImage::Format_ARGB32);
    if (picture.isNull()) return {};
    FillWindowBackground(picture, colors);
    constexpr QRgb kKeyRgb = GlyphSets::kKeyColor & 0xFFFFFF;
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        const QRgb* textRow = layer.data() + static_cast<std::size_t>(y) * layerWidth;
        for (int x = 0; x < width; ++x) {
            const QRgb pixel = textRow[x] != GlyphSets::kKeyColor ? textRow[x] : line[x];
            line[x] = (pixel & 0xFFFFFF) == kKeyRgb ? kKeyRgb : pixel;
        }
    }
    DrawWindowFrame(picture);
    return picture;
}

int Clamped(int size) { return std::min(size, kMaxPreviewSide); }

}  // namespace

QImage DrawWindowPreview(const GlyphSets& glyphs, const TWindowColors& colors,
                         std::string_view text, int width, int height) {
    const int layerWidth = width == kAutomaticSize ? kAutomaticWidth : Clamped(width);
    if (layerWidth <= 0 || (height <= 0 && height != kAutomaticSize)) return {};
    const int bottom = height == kAutomaticSize ? kMaxPreviewSide : Clamped(height);
    std::vector<text::GlyphStamp> stamps;
    stamps.reserve(std::min(text.size(), kReservedStamps));
    const int lines = text::LayOutWrapped(text, glyphs.Advances(), layerWidth, bottom, stamps);
    const int layerHeight = height == kAutomaticSize
                                ? Clamped(kFirstLineHeight + text::kLineHeight * (lines - 1))
                                : bottom;
    return WindowPicture(colors, TextLayer(glyphs, stamps, layerWidth, layerHeight), layerWidth,
                         layerWidth, layerHeight);
}

QImage DrawGameView(const GlyphSets& glyphs, const TWindowColors& colors, std::string_view text,
                    int width, int height, int page, text::CharacterNames names) {
    if ((width <= 0 && width != kAutomaticSize) || (height <= 0 && height != kAutomaticSize)) {
        return {};
    }
    std::vector<text::GlyphStamp> stamps;
    stamps.reserve(std::min(text.size(), kReservedStamps));
    const std::vector<text::PageExtent> pages =
        text::LayOutPages(text, glyphs.Advances(), names, page, &stamps);
    const bool onPage = page >= 0 && static_cast<std::size_t>(page) < pages.size();
    const text::PageExtent extent = onPage ? pages[static_cast<std::size_t>(page)]
                                           : text::PageExtent{};
    const int neededHeight = text::WindowHeightForLines(extent.lines);
    const int windowWidth = width == kAutomaticSize ? kAutomaticWidth : Clamped(width);
    const int windowHeight = height == kAutomaticSize ? Clamped(neededHeight) : Clamped(height);
    const int pictureWidth = std::max(windowWidth, Clamped(extent.width));
    const int pictureHeight = std::max(windowHeight, Clamped(neededHeight));

    const std::vector<QRgb> layer = TextLayer(glyphs, stamps, pictureWidth, pictureHeight);
    const QImage window = WindowPicture(colors, layer, pictureWidth, windowWidth, windowHeight);
    if (pictureWidth == windowWidth && pictureHeight == windowHeight) return window;

    QImage picture(pictureWidth, pictureHeight, QImage::Format_ARGB32);
    if (picture.isNull() || window.isNull()) return {};
    for (int y = 0; y < pictureHeight; ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        const QRgb* textRow = layer.data() + static_cast<std::size_t>(y) * pictureWidth;
        const int windowPart = y < windowHeight ? windowWidth : 0;
        if (windowPart > 0) {
            std::copy_n(reinterpret_cast<const QRgb*>(window.constScanLine(y)), windowPart, line);
        }
        // Past the window's edges the text stands on the hatch.
        for (int x = windowPart; x < pictureWidth; ++x) {
            const bool light = (x + y) % kHatchPeriod < kHatchLight;
            line[x] = textRow[x] != GlyphSets::kKeyColor
                          ? textRow[x]
                          : (light ? kOverflowHatchLight : kOverflowHatchDark);
        }
    }
    return picture;
}

}  // namespace preview
