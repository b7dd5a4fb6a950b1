#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "text/tags.h"

namespace text {

// Turns a text's game bytes, with or without its final 0xFF, into tagged text. Only one final
// 0xFF is dropped; any other decodes as NUL. Never fails: bytes that start no known escape
// sequence decode through CharacterTable, 0xFE as "{MODE}". An escape sequence cut off by the
// end of the bytes is not recognised: its 0xFE reads "{MODE}" and the rest decode on their own.
std::string DecodeText(std::span<const std::uint8_t> bytes);

// The escape sequence that `rest`, which starts with 0xFE, begins with as DecodeText reads it;
// null when the 0xFE stands alone ("{MODE}"). Bytes past the end of `rest` never match.
const TagCode* MatchEscape(std::span<const std::uint8_t> rest);

}  // namespace text
