#pragma once

#include <array>

// The game's font as the layout of its dialogue windows sees it.
namespace text {

// The advance in pixels of each game code: how far the pen moves after drawing it.
using GlyphAdvances = std::array<int, 256>;

// The advances of the game's own font (row = high hex digit of the code, column = low digit).
// The text preview derives its advances from the font sheet, which yields exactly these, so
// the overflow check, which cannot read the sheet, measures what the preview draws. Code 0x00
// is the space; the table's duplicate spaces and commas are never drawn, as drawing looks a
// character up by its first code.
// clang-format off
inline constexpr GlyphAdvances GameAdvances = {
     3,  3, 10, 10,  7, 10,  9,  3, 10, 10,  7,  7,  8,  5,  7,  6,
     8,  9,  8,  8,  8,  8,  8,  8,  8,  8,  7,  4,  7,  8,  7,  6,
    10,  9,  7,  8,  8,  7,  7,  8,  8,  3,  6,  7,  7, 11,  8,  9,
     7,  9,  7,  7,  7,  8,  9, 11,  8,  9,  7,  4,  6,  4,  7,  8,
     4,  7,  7,  6,  7,  7,  6,  7,  7,  3,  4,  6,  3, 11,  7,  7,
     7,  7,  5,  6,  6,  7,  7, 11,  7,  7,  6,  5,  3,  5,  8,  4,
    11, 14, 10, 11, 11,  9,  8,  7,  7,  7,  7,  7,  7,  7,  7,  7,
     7,  7,  4,  4,  4,  4,  7,  7,  7,  7,  7,  7,  7,  7,  7,  7,
    11,  6,  7,  8, 11,  6,  7,  7,  9,  9, 11,  4,  5,  8, 12,  9,
    11,  7,  7,  7,  9,  7,  7,  7,  9,  8,  4,  6,  6,  9, 11,  7,
     6,  3,  8,  7,  8,  8,  9,  7,  7,  9,  4,  9,  9,  9, 12, 11,
     8, 12,  6,  6,  4,  4,  7,  7,  7,  9,  7,  9,  5,  5,  7,  7,
     8,  3,  8,  6, 13,  9,  7,  9,  7,  7,  3,  4,  4,  3,  9,  9,
     8,  9,  8,  8,  8,  3,  6,  7,  5,  6,  3,  6,  5,  6,  5,  5,
     1, 13,  2,  2,  2,  2,  2,  1,  1,  2,  1,  1,  1,  1,  1,  1,
     1,  1,  1,  1,  1,  1,  2,  2,  2,  2,  2,  2,  2,  2,  1,  2,
};
// clang-format on

}  // namespace text
