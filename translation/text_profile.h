#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// What a translation must keep of its original text, read from game bytes.
namespace translation {

// The kinds of variable a text can hold: {VAR1}, {VAR2}, {VAR3}, the ten chocobo tags, and
// the placeholders %1 to %50. The game writes a value where each stands (or, for a
// placeholder, a character the code page lacks), so a translation must keep every one of them.
inline constexpr std::size_t kVariableKinds = 3 + 10 + 50;

// The tag or placeholder of a variable kind, as tagged text writes it ("{VAR1}", "%12").
std::string VariableName(std::size_t kind);

// The spaces that begin and end one line; a line of spaces alone has them all as leading.
struct LineSpaces {
    int leading = 0;
    int trailing = 0;

    bool operator==(const LineSpaces&) const = default;
};

// A text as the checks see it.
struct TextProfile {
    // No code before the final 0xFF.
    bool empty = true;
    // How often each variable kind occurs, by kind.
    std::array<std::uint16_t, kVariableKinds> variables{};
    // {CHOICE} codes.
    int choices = 0;
    // Pages: one more than the {NEW PAGE} codes.
    int pages = 1;
    // The lines as the editor shows them, the line of each {NEW PAGE} included: at least one.
    std::vector<LineSpaces> lines;
    // Runs of two or more spaces inside a line, between other characters.
    int doubleSpaces = 0;
};

// Reads a text's game bytes (with or without the final 0xFF) as DecodeText does: escape
// sequences are recognised whole, a space is any of the three space codes. Never fails.
TextProfile ProfileText(std::span<const std::uint8_t> bytes);

}  // namespace translation
