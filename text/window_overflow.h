#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "text/game_font.h"
#include "text/text_layout.h"

// The overflow rule: a text overflows a window when one of its pages, drawn as the game draws
// it (no wrapping, names in place of the name tags), has a line wider than the window leaves
// room for, or more lines than the window's height holds.
namespace text {

enum class OverflowKind { Width, Height };

// One way in which one page of a text passes its window's edge.
struct Overflow {
    // From 0.
    int page = 0;
    OverflowKind kind = OverflowKind::Width;
    // Width: the widest line, counted in the text from 1 (PageExtent::widestLine).
    int line = 0;
    // Height: the page's lines.
    int lines = 0;
    // The window width or height that the page needs, and the window's.
    int needed = 0;
    int actual = 0;
};

// Every overflow of the pages in a window of width x height pixels, page by page, the width
// before the height.
std::vector<Overflow> PageOverflows(const std::vector<PageExtent>& pages, int width, int height);

// True when some page overflows a window of width x height pixels.
bool Overflows(const std::vector<PageExtent>& pages, int width, int height);

// The overflows of tagged text in a window of width x height pixels, measured with the game's
// font and the given names.
std::vector<Overflow> TextOverflows(std::string_view tagged, int width, int height,
                                    CharacterNames names,
                                    const GlyphAdvances& advances = GameAdvances);

// The overflow in English words, pages and lines counted from 1: "page 2: 4 lines in a window
// for 3", "line 1 is 296 px in a window of 280" (the line's width includes the window's
// padding, so that it compares with the window's width).
std::string OverflowReason(const Overflow& overflow);

// The smallest window, width and height, in which none of the pages overflows: at least the
// padding around one line.
struct WindowSize {
    int width = 0;
    int height = 0;
};
WindowSize NeededWindowSize(const std::vector<PageExtent>& pages);

}  // namespace text
