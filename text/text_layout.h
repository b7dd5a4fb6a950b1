#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "text/character_table.h"
#include "text/game_font.h"

// Where the glyphs of a tagged text go in a dialogue window: the walk that the text preview
// draws and that the overflow check measures, so that both always agree.
namespace text {

// Where the game puts text inside a dialogue window, in pixels from its top left corner.
inline constexpr int kPenLeft = 8;
inline constexpr int kPenTop = 6;
inline constexpr int kLineHeight = 16;
// A glyph must end at least this far inside the window's right edge.
inline constexpr int kRightMargin = 3;
// A window of kLineHeight x lines + kLinesPadding pixels holds exactly that many lines.
inline constexpr int kLinesPadding = 9;
inline constexpr int kChoiceIndent = 30;
inline constexpr int kSpacedAdvance = 13;
// Colour numbers are the indices of ColourTags; a text starts white.
inline constexpr std::uint8_t kGreyColor = 0;
inline constexpr std::uint8_t kWhiteColor = 7;

// The page break: "{NEW PAGE}" on a line of its own, game code 0xE8.
inline constexpr std::string_view kPageBreak = CharacterTable[0xE8];

// How the character-name tags ({CLOUD} to {CID}, {MEMBER 1} to {MEMBER 3}) are drawn.
enum class CharacterNames {
    // As the tag's own letters, like any tag the preview does not interpret.
    Tags,
    // As the game's default names (Cloud, Barret, Tifa, Aeris, Red XIII, Yuffie, Cait Sith,
    // Vincent, Cid); a party-member tag as the widest of them.
    Default,
    // As nine of the widest glyph: the widest name a player can give.
    Widest,
};

// One glyph placed: its game code, colour number, whether its lower half blinks in grey, and
// the position of its top left corner.
struct GlyphStamp {
    std::uint8_t code = 0;
    std::uint8_t color = kWhiteColor;
    bool blink = false;
    int x = 0;
    int y = 0;
};

// What one page of a text needs of its window.
struct PageExtent {
    int lines = 1;
    // The narrowest window width in which every glyph of the page ends kRightMargin inside
    // the right edge; 0 when the page draws no glyph.
    int width = 0;
    // The line that needs `width`, counted in the whole text from 1 as the editor shows it
    // (the page break's own line included); 0 when the page draws no glyph.
    int widestLine = 0;
};

// The text preview's walk: places the glyphs of tagged text (Windows-1252, CR LF line breaks)
// with the colour and effect tags applied, wrapping at the character whose right edge would
// pass width - kRightMargin, and stopping at the first line that starts at or below bottom.
// Other tags, the name tags and page breaks among them, are drawn letter by letter. Appends
// the glyphs to stamps and returns the number of lines walked.
int LayOutWrapped(std::string_view tagged, const GlyphAdvances& advances, int width, int bottom,
                  std::vector<GlyphStamp>& stamps);

// The game's walk: the same placing without wrapping, each page (split at kPageBreak)
// starting at the top left again, name tags drawn as `names` says. Returns every page's
// extent (at least one page). When stamps is given, appends the glyphs of page stampPage
// (from 0), placed as on their own page. Never fails.
std::vector<PageExtent> LayOutPages(std::string_view tagged, const GlyphAdvances& advances,
                                    CharacterNames names, int stampPage = 0,
                                    std::vector<GlyphStamp>* stamps = nullptr);

// The number of pages of tagged text: one more than its page breaks.
int PageCount(std::string_view tagged);

// The page (from 0) that byte position `position` of tagged text lies on: a position inside
// a page break still belongs to the page before it.
int PageAt(std::string_view tagged, std::size_t position);

// The window height that holds `lines` lines: 16 x lines + 9.
constexpr int WindowHeightForLines(int lines) { return kLineHeight * lines + kLinesPadding; }

// The number of lines a window `height` pixels high holds; 0 below the height of one line.
constexpr int LinesInWindow(int height) {
    return height < WindowHeightForLines(1) ? 0 : (height - kLinesPadding) / kLineHeight;
}

}  // namespace text
