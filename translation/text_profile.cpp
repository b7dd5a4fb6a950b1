#include "translation/text_profile.h"

#include <string_view>

#include "text/character_table.h"
#include "text/tags.h"
#include "text/text_decoder.h"

namespace translation {

namespace {

constexpr std::size_t kTagVariables = 13;
constexpr std::size_t kNoVariable = kVariableKinds;

constexpr bool IsVariableTag(std::string_view tag) {
    return tag.starts_with("{VAR") || tag.find("CHOCOBO") != std::string_view::npos;
}

// The variable kind of each entry of TagCodes, kNoVariable for the other tags; variable tags
// are numbered in the order of that table.
constexpr std::array<std::size_t, text::TagCodes.size()> kTagKinds = [] {
    std::array<std::size_t, text::TagCodes.size()> kinds{};
    std::size_t next = 0;
    for (std::size_t i = 0; i < text::TagCodes.size(); ++i) {
        kinds[i] = IsVariableTag(text::TagCodes[i].tag) ? next++ : kNoVariable;
    }
    return kinds;
}();
static_assert([] {
    std::size_t count = 0;
    for (const std::size_t kind : kTagKinds) count += kind != kNoVariable;
    return count == kTagVariables;
}());

// The placeholder number (1 to 50) of a single game code, 0 for any other code.
constexpr std::array<std::uint8_t, 256> kPlaceholders = [] {
    std::array<std::uint8_t, 256> numbers{};
    for (std::size_t code = 0; code < 256; ++code) {
        const std::string_view entry = text::CharacterTable[code];
        if (entry.size() < 2 || entry[0] != text::PlaceholderChar) continue;
        int number = 0;
        for (const char digit : entry.substr(1)) number = number * 10 + (digit - '0');
        numbers[code] = static_cast<std::uint8_t>(number);
    }
    return numbers;
}();

constexpr std::uint8_t kChoiceCode = 0xE0;
constexpr std::uint8_t kLineBreakCode = 0xE7;
constexpr std::uint8_t kNewPageCode = 0xE8;

bool IsSpace(std::uint8_t code) { return text::CharacterTable[code] == " "; }

// Follows the lines of a text code by code.
class LineReader {
public:
    explicit LineReader(TextProfile& profile) : profile_(profile) {}

    void Space() { ++run_; }

    void Other() {
        if (!started_) {
            current_.leading = run_;
            started_ = true;
        } else if (run_ >= 2) {
            ++profile_.doubleSpaces;
        }
        run_ = 0;
    }

    void EndLine() {
        if (started_) {
            current_.trailing = run_;
        } else {
            current_.leading = run_;
        }
        profile_.lines.push_back(current_);
        current_ = {};
        started_ = false;
        run_ = 0;
    }

private:
    TextProfile& profile_;
    LineSpaces current_;
    bool started_ = false;
    int run_ = 0;
};

}  // namespace

std::string VariableName(std::size_t kind) {
    if (kind >= kTagVariables) {
        return text::PlaceholderChar + std::to_string(kind - kTagVariables + 1);
    }
    for (std::size_t i = 0; i < kTagKinds.size(); ++i) {
        if (kTagKinds[i] == kind) return std::string(text::TagCodes[i].tag);
    }
    return {};
}

TextProfile ProfileText(std::span<const std::uint8_t> bytes) {
    if (!bytes.empty() && bytes.back() == text::kTerminatorCode) {
        bytes = bytes.first(bytes.size() - 1);
    }
    TextProfile profile;
    profile.empty = bytes.empty();
    LineReader lines(profile);
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::uint8_t code = bytes[i];
        if (code == text::kEscapeCode) {
            if (const text::TagCode* escape = text::MatchEscape(bytes.subspan(i))) {
                const std::size_t kind =
                    kTagKinds[static_cast<std::size_t>(escape - text::TagCodes.data())];
                if (kind != kNoVariable) ++profile.variables[kind];
                lines.Other();
                i += escape->size;
                continue;
            }
        }
        ++i;
        if (IsSpace(code)) {
            lines.Space();
        } else if (code == kLineBreakCode) {
            lines.EndLine();
        } else if (code == kNewPageCode) {
            // The editor shows the page break on a line of its own.
            lines.EndLine();
            lines.EndLine();
            ++profile.pages;
        } else {
            if (code == kChoiceCode) ++profile.choices;
            if (kPlaceholders[code] != 0)
                ++profile.variables[kTagVariables + kPlaceholders[code] - 1];
            lines.Other();
        }
    }
    lines.EndLine();
    return profile;
}

}  // namespace translation
