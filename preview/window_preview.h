#pragma once

#include <string_view>

#include <QImage>

#include "preview/glyph_sets.h"
#include "preview/window_colors.h"
#include "text/text_layout.h"

namespace preview {

// The automatic size of a preview: 320 wide, 25 high plus 16 for every further line.
inline constexpr int kAutomaticSize = -1;
inline constexpr int kAutomaticWidth = 320;
// The largest width or height drawn; larger sizes are drawn at this size.
inline constexpr int kMaxPreviewSide = 2048;

// Draws tagged text (Windows-1252, lines separated by CR LF) as the game shows it in a dialogue
// window: the background shaded from colors, the text in the glyphs of glyphs with the colour
// and effect tags applied, wrapped at the character that would pass the right edge - 3, and
// the bevelled frame. width and height are the window's size or kAutomaticSize. Returns an
// ARGB32 picture of that size, each side at most kMaxPreviewSide, whose key-colour
// (255, 0, 255) pixels have alpha 0; a null picture when the width or height is 0 or negative
// (other than automatic). Never fails.
QImage DrawWindowPreview(const GlyphSets& glyphs, const TWindowColors& colors,
                         std::string_view text, int width, int height);

// The body colours of the hatch behind what passes a window's edge in the game view.
inline constexpr QRgb kOverflowHatchLight = 0xFFE02828;
inline constexpr QRgb kOverflowHatchDark = 0xFF780000;

// Draws page `page` (from 0; pages split at "{NEW PAGE}") of tagged text as the game shows it:
// the colour and effect tags as DrawWindowPreview applies them, character-name tags drawn as
// `names` says, and lines not wrapped. A window of width x height is drawn as
// DrawWindowPreview draws it; what of the page passes its right edge or bottom (by the same
// measure as text::Overflows) widens or heightens the picture, and there the text is drawn
// over a red hatch (stripes of kOverflowHatchLight and kOverflowHatchDark). An automatic width
// is kAutomaticWidth, an automatic height that of the page's lines. Each side of the picture is
// at most kMaxPreviewSide; a page past the last draws the empty window. Returns a null picture
// when the width or height is 0 or negative (other than automatic). Never fails.
QImage DrawGameView(const GlyphSets& glyphs, const TWindowColors& colors, std::string_view text,
                    int width, int height, int page, text::CharacterNames names);

}  // namespace preview
