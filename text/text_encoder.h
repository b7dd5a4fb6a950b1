#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace text {

// Turns tagged text into game bytes, followed by one 0xFF when appendTerminator is set. Never
// fails: text outside the notation (unknown or lower-case tags, lone braces, CR or LF, characters
// without a game code) is encoded character by character, unknown characters as 0x00 (a space).
std::vector<std::uint8_t> EncodeText(std::string_view tagged, bool appendTerminator);

// A character or placeholder of tagged text that the game's character set lacks.
struct UnknownCharacter {
    // Its byte position in the tagged text.
    std::size_t position;
    // As written: one Windows-1252 character, or a placeholder such as "%99999".
    std::string_view written;
};

// The characters and placeholders of tagged text, in order, that EncodeText writes as a
// space because the game has no code for them (a space itself is known).
std::vector<UnknownCharacter> UnknownCharacters(std::string_view tagged);

// True when the game has a code for the Windows-1252 character c on its own: a space, or a
// character that some CharacterTable entry is made of. False for the euro sign, for instance,
// and for CR or LF alone (a line break is the pair).
bool HasCharacterCode(char c);

// The lowest code whose CharacterTable entry equals s exactly, or 0 (a space) when none does.
std::uint8_t CharacterCode(std::string_view s);

// The longest run of the digits 0 to 9 at the start of s, as a view into s; empty when s does
// not start with a digit.
std::string_view LeadingDigits(std::string_view s);

}  // namespace text
