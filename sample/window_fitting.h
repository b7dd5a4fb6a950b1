#pragma once

#include <cstdint>
#include <vector>

#include "sample/sample_random.h"

namespace sample {

// The texts of a level (by index) that overflow a window, with the default and the widest
// names.
struct Overflowing {
    std::vector<int> defaultNames;
    std::vector<int> widestNames;
};

// Sizes every window of a decoded field file to the texts it shows, as the game draws them
// with the default names, and pulls a window that would leave the screen back onto it, so
// that the overflow check finds nothing. With `overflowing`, one text (picked by random, when
// the level has windowed texts) then overflows its first window on purpose, as a translated
// text longer than its window would: the window loses 1 to 24 pixels of width or one line of
// height. Only the values in the window opcodes change. Returns the texts that overflow then.
// Throws lgp::FormatError when the file cannot be parsed.
Overflowing FitWindows(std::vector<std::uint8_t>& decoded, bool overflowing, SampleRandom& random);

}  // namespace sample
