#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace translation {

// An error breaks what the game's script relies on; a warning points at what is likely a slip.
enum class Severity : std::uint8_t { Error, Warning };

// What a finding is about.
enum class Check : std::uint8_t {
    // A variable tag or placeholder of the original missing, or one added.
    Variables,
    // A question (a text that an ASK opcode shows) with other lines or choices.
    Question,
    // A text empty where the original is not.
    Empty,
    // Another number of pages.
    Pages,
    // A line beginning or ending with other spaces than the original's.
    Spaces,
    // A double space that the original does not have.
    DoubleSpace,
    // The text overflows a window that shows it.
    Overflow,
};

// One finding about a text: its detail is one ASCII sentence without tabs or line breaks,
// naming lines from 1.
struct Finding {
    Severity severity = Severity::Error;
    Check check = Check::Variables;
    std::string detail;

    bool operator==(const Finding&) const = default;
};

// "error" or "warning".
std::string_view SeverityName(Severity severity);
// The check's name as reports print it: "variables", "question", "empty", "pages", "spaces",
// "double-space", "overflow".
std::string_view CheckName(Check check);

// True when one of the findings is an error.
bool HasError(const std::vector<Finding>& findings);

}  // namespace translation
