#pragma once

#include <QImage>

// A font sheet for tests in which every cell of codes 1 to 255 holds the same block: body
// (255, 255, 255) on rows 2 to 9 of columns 0 to 3, and shadow (33, 32, 33) on column 4
// (rows 2 to 10) and row 10 (columns 0 to 4). Every glyph's ink width is then its lead + 5.
QImage BlockFontSheet();

inline constexpr int kBlockBodyWidth = 4;
inline constexpr int kBlockInkWidth = 5;
inline constexpr int kBlockTop = 2;
inline constexpr int kBlockBottom = 9;
