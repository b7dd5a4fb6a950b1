#pragma once

#include "lgp/lgp_sub_file.h"
#include "text/text_layout.h"

// Sizing a dialogue window to the texts it shows, and keeping it on the screen.

namespace overflow {

// A window's position and size on the screen.
struct WindowPlace {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool operator==(const WindowPlace&) const = default;
};

// The part of the screen in which the game places its windows.
inline constexpr int kScreenWidth = 320;
inline constexpr int kScreenHeight = 224;

// True when part of the window lies outside the kScreenWidth x kScreenHeight screen.
bool LeavesScreen(const WindowPlace& place);

// Pulls a window onto the screen: x and y at least 8, the width at most 304 and the height at
// most 216, then moved left and up until it ends by x = 312 and y = 224 (the full-screen
// window 8, 8, 304, 216 marks the bounds).
WindowPlace RepositionWindow(const WindowPlace& place);

// The smallest window at (x, y) in which every page of every text of the level that this
// window shows draws without overflowing (with the given names): the widest line's width, and
// 16 x lines + 9 for the most lines of a page. The window keeps x and y unless it would then
// leave the screen; then it is pulled back by RepositionWindow, which may leave it too small.
// A window that no text shows keeps its size.
WindowPlace FitWindow(const TLGPSubFile& level, const TWindow& window, text::CharacterNames names,
                      int x, int y);

// Fits every window of the level that a text shows, at its own position, as FitWindow does;
// with onlyOverflowing, only the windows that some text overflows. Returns the number of
// windows whose values changed.
int FitLevelWindows(TLGPSubFile& level, text::CharacterNames names, bool onlyOverflowing);

}  // namespace overflow
