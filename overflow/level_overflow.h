#pragma once

#include <cstddef>
#include <vector>

#include "lgp/lgp_sub_file.h"
#include "text/text_layout.h"
#include "text/window_overflow.h"

// Which texts of a level overflow the windows that show them.

namespace overflow {

// One overflow of a text in one of its windows.
struct WindowOverflow {
    // The text's index in the level's Texts.
    std::size_t text = 0;
    // The window's first index in the text's Windows (the editor's window number - 1).
    std::size_t window = 0;
    const TWindow* shownIn = nullptr;
    text::Overflow overflow;
};

// Every overflow of the text in each distinct window of its Windows, window by window in the
// order of that list; none for a text without windows.
std::vector<WindowOverflow> TextWindowOverflows(const TLGPSubFile& level, std::size_t text,
                                                text::CharacterNames names);

// Every overflow of the level's texts, text by text.
std::vector<WindowOverflow> LevelOverflows(const TLGPSubFile& level, text::CharacterNames names);

// True when the text overflows one of its windows.
bool IsOverflowing(const TLevelText& levelText, text::CharacterNames names);

// The number of the level's texts that overflow one of their windows.
int CountOverflowingTexts(const TLGPSubFile& level, text::CharacterNames names);

}  // namespace overflow
