#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>

#include "text/character_table.h"

namespace text {

// The colour tags, for the escape codes FE D2 to FE D9 in that order.
inline constexpr std::array<std::string_view, 8> ColourTags = {
    "{GREY}", "{BLUE}", "{RED}", "{PURPLE}", "{GREEN}", "{CYAN}", "{YELLOW}", "{WHITE}",
};

// The effect and pacing tags that the text preview interprets, in this order.
inline constexpr std::array<std::string_view, 11> EffectTags = {
    "{BLINK}",   "{MULTICOLOUR}", "{SPACED CHARACTERS}", "{WAIT KEYPRESS}", "{PAUSE 1}",
    "{PAUSE 2}", "{PAUSE 3}",     "{PAUSE 4}",           "{PAUSE 5}",       "{SCROLLING}",
    "{CHOICE}",
};

// The tag that starts a new page, as it stands on a line of its own in the break 0xE8.
inline constexpr std::string_view NewPageTag = CharacterTable[0xE8].substr(2, 10);

// The character-name tags, for the codes 0xEA to 0xF2: the game draws each as the name the
// player gave that character.
inline constexpr std::array<std::string_view, 9> NameTags = {
    CharacterTable[0xEA], CharacterTable[0xEB], CharacterTable[0xEC],
    CharacterTable[0xED], CharacterTable[0xEE], CharacterTable[0xEF],
    CharacterTable[0xF0], CharacterTable[0xF1], CharacterTable[0xF2],
};

// The party-member tags, for the codes 0xF3 to 0xF5: the names of the party's members.
inline constexpr std::array<std::string_view, 3> MemberTags = {
    CharacterTable[0xF3], CharacterTable[0xF4], CharacterTable[0xF5],
};

// A tag and the game bytes it stands for.
struct TagCode {
    std::string_view tag;
    std::array<std::uint8_t, 6> bytes{};
    std::size_t size = 0;

    constexpr TagCode(std::string_view tagText, std::initializer_list<std::uint8_t> code)
        : tag(tagText), size(code.size()) {
        std::size_t i = 0;
        for (const std::uint8_t byte : code) bytes[i++] = byte;
    }

    constexpr std::span<const std::uint8_t> Code() const { return {bytes.data(), size}; }
};

// Every tag of tagged text with its bytes, in the order EncodeText tries them: the new-page
// string comes before CR LF, the one tag that begins another. The entries that start with
// 0xFE and have more than one byte are the escape sequences DecodeText recognises.
inline constexpr std::array<TagCode, 47> TagCodes = {{
    {ColourTags[0], {0xFE, 0xD2}},
    {ColourTags[1], {0xFE, 0xD3}},
    {ColourTags[2], {0xFE, 0xD4}},
    {ColourTags[3], {0xFE, 0xD5}},
    {ColourTags[4], {0xFE, 0xD6}},
    {ColourTags[5], {0xFE, 0xD7}},
    {ColourTags[6], {0xFE, 0xD8}},
    {ColourTags[7], {0xFE, 0xD9}},
    {EffectTags[0], {0xFE, 0xDA}},
    {EffectTags[1], {0xFE, 0xDB}},
    {EffectTags[3], {0xFE, 0xDC}},
    // The third byte is the pause length (10, 15, 20, 30 or 60).
    {EffectTags[4], {0xFE, 0xDD, 0x0A, 0x00}},
    {EffectTags[5], {0xFE, 0xDD, 0x0F, 0x00}},
    {EffectTags[6], {0xFE, 0xDD, 0x14, 0x00}},
    {EffectTags[7], {0xFE, 0xDD, 0x1E, 0x00}},
    {EffectTags[8], {0xFE, 0xDD, 0x3C, 0x00}},
    {"{VAR1}", {0xFE, 0xDE}},
    {"{VAR2}", {0xFE, 0xDF}},
    {EffectTags[9], {0xFE, 0xE0}},
    {"{VAR3}", {0xFE, 0xE1}},
    {EffectTags[2], {0xFE, 0xE9}},
    {CharacterTable[0xEA], {0xEA}},
    {CharacterTable[0xEB], {0xEB}},
    {CharacterTable[0xEC], {0xEC}},
    {CharacterTable[0xED], {0xED}},
    {CharacterTable[0xEE], {0xEE}},
    {CharacterTable[0xEF], {0xEF}},
    {CharacterTable[0xF0], {0xF0}},
    {CharacterTable[0xF1], {0xF1}},
    {CharacterTable[0xF2], {0xF2}},
    {CharacterTable[0xF3], {0xF3}},
    {CharacterTable[0xF4], {0xF4}},
    {CharacterTable[0xF5], {0xF5}},
    {CharacterTable[0xE0], {0xE0}},
    {CharacterTable[0xE8], {0xE8}},
    {CharacterTable[0xE7], {0xE7}},
    // The chocobo sequences: the four bytes after E2 are an opaque key, matched whole.
    {"{NEW CHOCOBO SEX}", {0xFE, 0xE2, 0x62, 0x03, 0x01, 0x00}},
    {"{CHOCOBO NAME}", {0xFE, 0xE2, 0x40, 0x04, 0x06, 0x00}},
    {"{CHOCOBO SEX}", {0xFE, 0xE2, 0x62, 0x03, 0x06, 0x00}},
    {"{CHOCOBO CLASS}", {0xFE, 0xE2, 0x4A, 0x04, 0x01, 0x00}},
    {"{CHOCOBO 1 NAME}", {0xFE, 0xE2, 0x20, 0x03, 0x06, 0x00}},
    {"{CHOCOBO 2 NAME}", {0xFE, 0xE2, 0x26, 0x03, 0x06, 0x00}},
    {"{CHOCOBO 3 NAME}", {0xFE, 0xE2, 0x2C, 0x03, 0x06, 0x00}},
    {"{CHOCOBO 4 NAME}", {0xFE, 0xE2, 0x32, 0x03, 0x06, 0x00}},
    {"{CHOCOBO 5 NAME}", {0xFE, 0xE2, 0x38, 0x03, 0x06, 0x00}},
    {"{CHOCOBO 6 NAME}", {0xFE, 0xE2, 0x3E, 0x03, 0x06, 0x00}},
    {CharacterTable[kEscapeCode], {kEscapeCode}},
}};

}  // namespace text
