#pragma once

#include <vector>

#include <QString>

#include "overflow/level_overflow.h"
#include "text/window_overflow.h"

// The overflow check's findings in the user interface's language.

namespace ui {

// One overflow as the texts list's hint shows it: "line 1 is 296 px in a window of 280" (the
// width includes the window's padding) or "page 2: 4 lines in a window for 3".
QString OverflowHint(const text::Overflow& overflow);

// The hints of a text's overflows, one line each; empty when there is none.
QString OverflowHints(const std::vector<overflow::WindowOverflow>& overflows);

// The game view's "page k/n", page from 0.
QString PageCaption(int page, int pages);

}  // namespace ui
