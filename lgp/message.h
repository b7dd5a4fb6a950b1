#pragma once

#include <cstdint>

// A MESSAGE or ASK opcode: shows a text in a window.
class TMessage {
public:
    // Position of the opcode byte in the decoded field file.
    std::int32_t Offset = 0;
    std::uint8_t WindowId = 0;
    std::uint8_t TextId = 0;
};
