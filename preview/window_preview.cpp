#include "preview/window_preview.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "preview/window_background.h"
#include "preview/window_frame.h"
#include "text/tags.h"
#include "text/text_encoder.h"

namespace {

constexpr int kFirstLineHeight = 25;
constexpr int kLineHeight = 16;
constexpr int kPenLeft = 8;
constexpr int kPenTop = 6;
constexpr int kWrapMargin = 3;
constexpr int kChoiceIndent = 30;
constexpr int kSpacedAdvance = 13;
// Blinking characters show the grey glyph from this row down.
constexpr int kBlinkFromRow = 6;
// The editor writes the game's low quotation mark as 0x82; the game draws it as a comma.
constexpr char kLowQuotationMark = '\x82';
// The tags that change what is drawn besides the colour tags.
constexpr std::string_view kBlinkTag = "{BLINK}";
constexpr std::string_view kMulticolourTag = "{MULTICOLOUR}";
constexpr std::string_view kChoiceTag = "{CHOICE}";
constexpr std::string_view kSpacedTag = "{SPACED CHARACTERS}";

// One glyph copied into the text layer.
struct Stamp {
    std::uint8_t code;
    std::uint8_t colour;
    bool blink;
    int x;
    int y;
};

// The walk through the text: where each glyph goes and how many lines the text takes, up to
// the first line that starts at or below bottom.
struct Layout {
    std::vector<Stamp> stamps;
    int lines = 1;
};

bool StartsWith(std::string_view text, std::size_t at, std::string_view prefix) {
    return text.compare(at, prefix.size(), prefix) == 0;
}

Layout LayOut(const GlyphSets& glyphs, std::string_view text, int width, int bottom) {
    constexpr std::size_t kReserved = 4096;
    Layout layout;
    layout.stamps.reserve(std::min(text.size(), kReserved));
    int colour = GlyphSets::kWhite;
    int savedColour = GlyphSets::kWhite;
    bool blink = false;
    bool multicolour = false;
    bool spaced = false;
    int x = kPenLeft;
    int y = kPenTop;
    const auto newLine = [&] {
        x = kPenLeft;
        y += kLineHeight;
        ++layout.lines;
    };
    const auto draw = [&](std::string_view token) {
        if (token.size() == 1 && token[0] == kLowQuotationMark) token = ",";
        const std::uint8_t code = text::CharacterCode(token);
        const int advance = glyphs.Width(code);
        if (x + advance > width - kWrapMargin) newLine();
        // Blink shows nothing while multicolour cycles the colours.
        layout.stamps.push_back(
            {code, static_cast<std::uint8_t>(colour), blink && !multicolour, x, y});
        if (multicolour) colour = colour == 0 ? GlyphSets::kWhite : colour - 1;
        x += spaced ? kSpacedAdvance : advance;
    };

    std::size_t i = 0;
    // Nothing at or below the bottom can show: a long text costs no more than its window.
    while (i < text.size() && y < bottom) {
        const char c = text[i];
        if (c == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n') {
                newLine();
                i += 2;
            } else {
                ++i;
            }
        } else if (c == text::PlaceholderChar) {
            const std::size_t length = 1 + text::LeadingDigits(text.substr(i + 1)).size();
            draw(text.substr(i, length));
            i += length;
        } else if (c == '{') {
            std::size_t matched = 0;
            if (StartsWith(text, i, kBlinkTag)) {
                blink = !blink;
                matched = kBlinkTag.size();
            } else if (StartsWith(text, i, kMulticolourTag)) {
                multicolour = !multicolour;
                if (multicolour) {
                    savedColour = colour;
                    colour = GlyphSets::kWhite;
                } else {
                    colour = savedColour;
                }
                matched = kMulticolourTag.size();
            } else if (StartsWith(text, i, kChoiceTag)) {
                // Past the right edge the next character wraps however far the pen is.
                x = std::min(x + kChoiceIndent, width);
                matched = kChoiceTag.size();
            } else if (StartsWith(text, i, kSpacedTag)) {
                spaced = !spaced;
                matched = kSpacedTag.size();
            } else {
                for (std::size_t tag = 0; tag < text::ColourTags.size() && matched == 0; ++tag) {
                    if (StartsWith(text, i, text::ColourTags[tag])) {
                        colour = static_cast<int>(tag);
                        matched = text::ColourTags[tag].size();
                    }
                }
                // The pacing tags take their place in the text but change nothing drawn.
                for (const std::string_view tag : text::EffectTags) {
                    if (matched == 0 && StartsWith(text, i, tag)) matched = tag.size();
                }
            }
            if (matched == 0) {
                draw(text.substr(i, 1));
                ++i;
            } else {
                i += matched;
            }
        } else {
            draw(text.substr(i, 1));
            ++i;
        }
    }
    return layout;
}

// Copies rows fromRow to 11 of the glyph of code in colour into the layer at (x, y), key
// pixels included, clipped to the layer.
void CopyGlyph(const GlyphSets& glyphs, std::vector<QRgb>& layer, int layerWidth, int layerHeight,
               std::uint8_t code, int colour, int x, int y, int fromRow) {
    const std::array<QRgb, 256>& palette = glyphs.Palette(colour);
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

int Clamped(int size) { return std::min(size, kMaxPreviewSide); }

}  // namespace

QImage DrawWindowPreview(const GlyphSets& glyphs, const TWindowColors& colors,
                         std::string_view text, int width, int height) {
    const int layerWidth = width == kAutomaticSize ? kAutomaticWidth : Clamped(width);
    if (layerWidth <= 0 || (height <= 0 && height != kAutomaticSize)) return {};
    const int bottom = height == kAutomaticSize ? kMaxPreviewSide : Clamped(height);
    const Layout layout = LayOut(glyphs, text, layerWidth, bottom);
    const int layerHeight = height == kAutomaticSize
                                ? Clamped(kFirstLineHeight + kLineHeight * (layout.lines - 1))
                                : bottom;

    // The text layer, key colour where nothing is drawn. Glyphs are copied whole, so a glyph
    // drawn over another clears what its own background covers.
    std::vector<QRgb> layer(static_cast<std::size_t>(layerWidth) * layerHeight,
                            GlyphSets::kKeyColour);
    for (const Stamp& stamp : layout.stamps) {
        if (stamp.y >= layerHeight || stamp.x >= layerWidth) continue;
        CopyGlyph(glyphs, layer, layerWidth, layerHeight, stamp.code, stamp.colour, stamp.x,
                  stamp.y, 0);
        if (stamp.blink) {
            CopyGlyph(glyphs, layer, layerWidth, layerHeight, stamp.code, GlyphSets::kGrey, stamp.x,
                      stamp.y, kBlinkFromRow);
        }
    }

    QImage picture(layerWidth, layerHeight, QImage::Format_ARGB32);
    if (picture.isNull()) return {};
    FillWindowBackground(picture, colors);
    // The text over the background; whatever is in the key colour shows the control's
    // background instead.
    constexpr QRgb kKeyRgb = GlyphSets::kKeyColour & 0xFFFFFF;
    for (int y = 0; y < layerHeight; ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        const QRgb* textRow = layer.data() + static_cast<std::size_t>(y) * layerWidth;
        for (int x = 0; x < layerWidth; ++x) {
            const QRgb pixel = textRow[x] != GlyphSets::kKeyColour ? textRow[x] : line[x];
            line[x] = (pixel & 0xFFFFFF) == kKeyRgb ? kKeyRgb : pixel;
        }
    }
    DrawWindowFrame(picture);
    return picture;
}
