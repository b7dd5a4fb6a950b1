#include "preview/glyph_metrics.h"

#include <string_view>

#include "text/character_table.h"
#include "text/text_encoder.h"

namespace preview {

namespace {

// Sets of single characters, as Windows-1252 bytes.
constexpr std::string_view kLeadTwo = "\"()1:\xC4\xC5\xC7\xC9\xD1";  // " ( ) 1 : Ä Å Ç É Ñ
constexpr std::string_view kLeadOne = ",.";
constexpr std::string_view kSpacingFour = ",.)\"(\xC5";                // Å
constexpr std::string_view kSpacingThree = " 1:\xC9";                  // É
constexpr std::string_view kSpacingTwo = "\xD1";                       // Ñ
constexpr std::string_view kSpacingZero = "\x9B\xCC\xCD\xCF\xEE\xEF";  // › Ì Í Ï î ï
constexpr std::string_view kSpacingTwelve = "\t";

// The number of a placeholder entry such as "%12", or -1 when the entry is none.
int PlaceholderNumber(std::string_view entry) {
    if (entry.size() < 2 || entry[0] != text::PlaceholderChar) return -1;
    const std::string_view digits = text::LeadingDigits(entry.substr(1));
    if (digits.size() != entry.size() - 1) return -1;
    int number = 0;
    for (const char digit : digits) number = number * 10 + (digit - '0');
    return number;
}

// True when entry is one character of set.
bool OneOf(std::string_view entry, std::string_view set) {
    return entry.size() == 1 && set.find(entry[0]) != std::string_view::npos;
}

}  // namespace

int GlyphLead(std::uint8_t code) {
    const std::string_view entry = text::CharacterTable[code];
    if (OneOf(entry, kLeadTwo)) return 2;
    if (OneOf(entry, kLeadOne)) return 1;
    return 0;
}

int GlyphSpacing(std::uint8_t code) {
    const std::string_view entry = text::CharacterTable[code];
    const int number = PlaceholderNumber(entry);
    if (number == 2) return 4;
    if (number == 3) return -1;
    if (number >= 1) return 1;
    // Tags and line breaks take no room beyond their (empty) glyph.
    if (entry.size() != 1) return 0;
    if (OneOf(entry, kSpacingTwelve)) return 12;
    if (OneOf(entry, kSpacingFour)) return 4;
    if (OneOf(entry, kSpacingThree)) return 3;
    if (OneOf(entry, kSpacingTwo)) return 2;
    if (OneOf(entry, kSpacingZero)) return 0;
    return 1;
}

}  // namespace preview
