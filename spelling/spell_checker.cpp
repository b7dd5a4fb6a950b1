#include "spelling/spell_checker.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <stdexcept>
#include <system_error>

#include <hunspell.hxx>

#include "text/windows1252.h"

namespace spelling {

namespace {

// Where ISO8859-15 differs from ISO8859-1: its byte and the character it holds there.
struct Latin9Change {
    unsigned char byte;
    char32_t character;
};
constexpr std::array<Latin9Change, 8> kLatin9Changes = {{
    {0xA4, U'\u20AC'},  // €
    {0xA6, U'\u0160'},  // Š
    {0xA8, U'\u0161'},  // š
    {0xB4, U'\u017D'},  // Ž
    {0xB8, U'\u017E'},  // ž
    {0xBC, U'\u0152'},  // Œ
    {0xBD, U'\u0153'},  // œ
    {0xBE, U'\u0178'},  // Ÿ
}};

// The characters of well-formed UTF-8 (as Windows1252ToUtf8 makes it).
std::u32string CodePoints(std::string_view utf8) {
    std::u32string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t c = length == 1 ? lead : lead & (0x3F >> (length - 1));
        for (std::size_t k = 1; k < length && i + k < utf8.size(); ++k) {
            c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        }
        out += c;
        i += length;
    }
    return out;
}

// One ISO8859-1 or ISO8859-15 byte for the character, or 0 when it has none.
unsigned char LatinByte(char32_t c, bool latin9) {
    if (latin9) {
        for (const Latin9Change& change : kLatin9Changes) {
            if (change.character == c) return change.byte;
            if (change.byte == c) return 0;
        }
    }
    return c > 0 && c <= 0xFF ? static_cast<unsigned char>(c) : 0;
}

char32_t LatinCharacter(unsigned char byte, bool latin9) {
    if (latin9) {
        for (const Latin9Change& change : kLatin9Changes) {
            if (change.byte == byte) return change.character;
        }
    }
    return byte;
}

void RequireFile(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        throw std::runtime_error("cannot read the dictionary file " + path.string());
    }
}

}  // namespace

SpellChecker::SpellChecker(const Dictionary& dictionary) : name_(dictionary.name) {
    RequireFile(dictionary.aff);
    RequireFile(dictionary.dic);
    hunspell_ = std::make_unique<Hunspell>(dictionary.aff.string().c_str(),
                                           dictionary.dic.string().c_str());
    std::string encoding = hunspell_->get_dict_encoding();
    std::transform(encoding.begin(), encoding.end(), encoding.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    utf8_ = encoding == "UTF-8";
    latin9_ = encoding == "ISO8859-15" || encoding == "ISO-8859-15";
    if (!utf8_ && !latin9_ && encoding != "ISO8859-1" && encoding != "ISO-8859-1") {
        throw std::runtime_error("the dictionary " + dictionary.aff.string() + " is in " +
                                 encoding + "; only UTF-8, ISO8859-1 and ISO8859-15 are read");
    }
}

SpellChecker::~SpellChecker() = default;

std::string SpellChecker::ToDictionary(std::string_view word) const {
    const std::string utf8 = text::Windows1252ToUtf8(word);
    if (utf8_) return utf8;
    std::string out;
    for (const char32_t c : CodePoints(utf8)) {
        const unsigned char byte = LatinByte(c, latin9_);
        if (byte == 0) return {};
        out += static_cast<char>(byte);
    }
    return out;
}

std::string SpellChecker::FromDictionary(std::string_view word) const {
    std::string utf8;
    if (utf8_) {
        utf8 = word;
    } else {
        for (const char byte : word) {
            text::AppendUtf8(utf8, LatinCharacter(static_cast<unsigned char>(byte), latin9_));
        }
    }
    text::Windows1252Text converted = text::Utf8ToWindows1252(utf8);
    return converted.replaced > 0 ? std::string() : std::move(converted.text);
}

bool SpellChecker::IsCorrect(std::string_view word) const {
    if (ignored_.contains(word)) return true;
    const std::string converted = ToDictionary(word);
    return !converted.empty() && hunspell_->spell(converted);
}

std::vector<std::string> SpellChecker::Suggestions(std::string_view word) const {
    std::vector<std::string> suggestions;
    const std::string converted = ToDictionary(word);
    if (converted.empty()) return suggestions;
    for (const std::string& suggestion : hunspell_->suggest(converted)) {
        std::string back = FromDictionary(suggestion);
        if (!back.empty()) suggestions.push_back(std::move(back));
    }
    return suggestions;
}

void SpellChecker::Ignore(std::string_view word) { ignored_.emplace(word); }

void SpellChecker::Accept(std::string_view word) {
    const std::string converted = ToDictionary(word);
    if (converted.empty()) {
        Ignore(word);
    } else {
        hunspell_->add(converted);
    }
}

}  // namespace spelling
