#pragma once

#include <cstdint>
#include <vector>

#include "lgp/window.h"

// One text of a level: its game bytes as stored (with the closing 0xFF when it has one) and
// the windows that show it, in the order of the messages that show it. The windows belong to
// the level's scripts; a window may stand in the list more than once.
class TLevelText {
public:
    std::vector<std::uint8_t> Bytes;
    std::vector<TWindow*> Windows;
};
