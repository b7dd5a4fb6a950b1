#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace text {

// Turns tagged text into game bytes, followed by one 0xFF when appendTerminator is set. Never
// fails: text outside the notation (unknown or lower-case tags, lone braces, CR or LF, characters
// without a game code) is encoded character by character, unknown characters as 0x00 (a space).
std::vector<std::uint8_t> EncodeText(std::string_view tagged, bool appendTerminator);

// The lowest code whose CharacterTable entry equals s exactly, or 0 (a space) when none does.
std::uint8_t CharacterCode(std::string_view s);

// The longest run of the digits 0 to 9 at the start of s, as a view into s; empty when s does
// not start with a digit.
std::string_view LeadingDigits(std::string_view s);

}  // namespace text
