#include "text/text_encoder.h"

#include <array>
#include <cstddef>

#include "text/character_table.h"
#include "text/tags.h"

namespace text {

namespace {

// The lowest code of each one-character entry of CharacterTable, 0 for characters without
// one: spares a scan of the table for every character of a text.
constexpr std::array<std::uint8_t, 256> kSingleCharacterCodes = [] {
    std::array<std::uint8_t, 256> codes{};
    for (std::size_t code = CharacterTable.size(); code-- > 0;) {
        const std::string_view entry = CharacterTable[code];
        if (entry.size() == 1) {
            codes[static_cast<unsigned char>(entry[0])] = static_cast<std::uint8_t>(code);
        }
    }
    return codes;
}();

// The characters some tag starts with: no other character needs the tag table tried.
constexpr std::array<bool, 256> kTagStarts = [] {
    std::array<bool, 256> starts{};
    for (const TagCode& entry : TagCodes) starts[static_cast<unsigned char>(entry.tag[0])] = true;
    return starts;
}();

const TagCode* MatchTag(std::string_view rest) {
    if (!kTagStarts[static_cast<unsigned char>(rest.front())]) return nullptr;
    for (const TagCode& entry : TagCodes) {
        if (rest.starts_with(entry.tag)) return &entry;
    }
    return nullptr;
}

// Encodes tagged text as EncodeText does, noting in `unknown` (when given) what has no code.
std::vector<std::uint8_t> Encode(std::string_view tagged, bool appendTerminator,
                                 std::vector<UnknownCharacter>* unknown) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(tagged.size() + 1);
    std::size_t i = 0;
    while (i < tagged.size()) {
        const std::string_view rest = tagged.substr(i);
        if (const TagCode* tag = rest.front() == PlaceholderChar ? nullptr : MatchTag(rest)) {
            const auto code = tag->Code();
            bytes.insert(bytes.end(), code.begin(), code.end());
            i += tag->tag.size();
            continue;
        }
        // The whole digit run is taken, so "%12" is one placeholder and "%99" one space.
        const std::size_t length =
            rest.front() == PlaceholderChar ? 1 + LeadingDigits(rest.substr(1)).size() : 1;
        const std::uint8_t code = CharacterCode(rest.substr(0, length));
        bytes.push_back(code);
        // Only a space has the code 0 of right: anything else there had no code.
        if (unknown && code == 0 && rest.front() != ' ') {
            unknown->push_back({i, rest.substr(0, length)});
        }
        i += length;
    }
    if (appendTerminator) bytes.push_back(kTerminatorCode);
    return bytes;
}

}  // namespace

std::vector<std::uint8_t> EncodeText(std::string_view tagged, bool appendTerminator) {
    return Encode(tagged, appendTerminator, nullptr);
}

std::vector<UnknownCharacter> UnknownCharacters(std::string_view tagged) {
    std::vector<UnknownCharacter> unknown;
    Encode(tagged, false, &unknown);
    return unknown;
}

bool HasCharacterCode(char c) {
    return c == ' ' || kSingleCharacterCodes[static_cast<unsigned char>(c)] != 0;
}

std::uint8_t CharacterCode(std::string_view s) {
    if (s.size() == 1) return kSingleCharacterCodes[static_cast<unsigned char>(s[0])];
    for (std::size_t code = 0; code < CharacterTable.size(); ++code) {
        if (CharacterTable[code] == s) return static_cast<std::uint8_t>(code);
    }
    return 0;
}

std::string_view LeadingDigits(std::string_view s) {
    std::size_t length = 0;
    while (length < s.size() && s[length] >= '0' && s[length] <= '9') ++length;
    return s.substr(0, length);
}

}  // namespace text
