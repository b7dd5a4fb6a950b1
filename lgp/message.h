#pragma once

#include <cstdint>

// A MESSAGE or ASK opcode: shows a text in a window.
class TMessage {
public:
    // Position of the opcode byte in the decoded field file.
    std::int32_t Offset = 0;
    std::uint8_t WindowId = 0;
    std::uint8_t TextId = 0;
    // An ASK opcode: the text is a question whose answers are its lines FirstChoice to
    // LastChoice (from 0); the script tells the answers apart by those numbers, so the text
    // must keep its lines where they are. Both 0 for a MESSAGE.
    bool Ask = false;
    std::uint8_t FirstChoice = 0;
    std::uint8_t LastChoice = 0;
};
