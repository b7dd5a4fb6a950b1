#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace text {

// Turns a text's game bytes, with or without its final 0xFF, into tagged text. Only one final
// 0xFF is dropped; any other decodes as NUL. Never fails: bytes that start no known escape
// sequence decode through CharacterTable, 0xFE as "{MODE}". An escape sequence cut off by the
// end of the bytes is not recognised: its 0xFE reads "{MODE}" and the rest decode on their own.
std::string DecodeText(std::span<const std::uint8_t> bytes);

}  // namespace text
