#include "platform/wine_registry.h"

#include <cstddef>
#include <string_view>

#include "text/windows1252.h"

namespace platform {

namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    }
    return true;
}

int DigitValue(char c, int base) {
    int value = base;
    if (c >= '0' && c <= '9') value = c - '0';
    if (c >= 'a' && c <= 'f') value = c - 'a' + 10;
    if (c >= 'A' && c <= 'F') value = c - 'A' + 10;
    return value < base ? value : -1;
}

// The character of the escape `\c`: Wine writes some control characters as in C, and escapes
// the backslash and the delimiters (\\, \", \]), which stand for themselves.
char16_t EscapedCharacter(char c) {
    constexpr std::string_view kLetters = "abefnrtv";
    constexpr std::u16string_view kControls = u"\a\b\x1B\f\n\r\t\v";
    const std::size_t index = kLetters.find(c);
    return index == std::string_view::npos ? static_cast<char16_t>(c) : kControls[index];
}

// Up to `maxDigits` digits of `base` at `position`, moving past them.
char16_t ReadNumber(std::string_view line, std::size_t& position, int base, int maxDigits) {
    int value = 0;
    for (int digits = 0;
         digits < maxDigits && position < line.size() && DigitValue(line[position], base) >= 0;
         ++digits) {
        value = value * base + DigitValue(line[position++], base);
    }
    return static_cast<char16_t>(value);
}

// Reads a name or string that Wine wrote escaped, from `position` up to the unescaped `end`,
// and leaves `position` just past `end`; nothing when `end` never comes. Wine escapes the
// backslash and the delimiters with a backslash, control characters as in C or in octal, and
// each UTF-16 unit above 127 as \x and one to four hexadecimal digits.
std::optional<std::string> ReadEscaped(std::string_view line, std::size_t& position, char end) {
    // The text so far as UTF-16 units, converted at the end so that surrogate pairs join. Bytes
    // above 127 that Wine did not escape are taken as UTF-8 and kept as they are.
    std::string out;
    std::u16string units;
    while (position < line.size()) {
        const char c = line[position++];
        if (c == end) {
            out += text::Utf16ToUtf8(units);
            return out;
        }
        if (static_cast<unsigned char>(c) >= 0x80) {
            out += text::Utf16ToUtf8(units);
            units.clear();
            out += c;
        } else if (c != '\\' || position == line.size()) {
            units += static_cast<char16_t>(c);
        } else if (line[position] == 'x' && position + 1 < line.size() &&
                   DigitValue(line[position + 1], 16) >= 0) {
            ++position;
            units += ReadNumber(line, position, 16, 4);
        } else if (DigitValue(line[position], 8) >= 0) {
            units += ReadNumber(line, position, 8, 3);
        } else {
            units += EscapedCharacter(line[position++]);
        }
    }
    return std::nullopt;
}

std::size_t SkipBlanks(std::string_view line, std::size_t position) {
    while (position < line.size() && (line[position] == ' ' || line[position] == '\t')) {
        ++position;
    }
    return position;
}

// The value of a line `"name"="text"` (or `@="text"` for the key's default value, whose name is
// empty) when its name is `name` and its value a plain string.
std::optional<std::string> ValueOfLine(std::string_view line, std::string_view name) {
    std::size_t position = 1;
    const std::optional<std::string> lineName =
        line[0] == '@' ? std::string() : ReadEscaped(line, position, '"');
    if (!lineName || !EqualIgnoringAsciiCase(*lineName, name)) return std::nullopt;
    position = SkipBlanks(line, position);
    if (position == line.size() || line[position] != '=') return std::nullopt;
    position = SkipBlanks(line, position + 1);
    // Other types carry a prefix ("dword:", "hex(2):", "str(2):") instead of the quote.
    if (position == line.size() || line[position] != '"') return std::nullopt;
    ++position;
    return ReadEscaped(line, position, '"');
}

}  // namespace

std::optional<std::string> WineRegistryString(std::string_view file, std::string_view key,
                                              std::string_view name) {
    bool inKey = false;
    while (!file.empty()) {
        const std::size_t lineEnd = file.find('\n');
        std::string_view line = file.substr(0, lineEnd);
        file.remove_prefix(lineEnd == std::string_view::npos ? file.size() : lineEnd + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        line.remove_prefix(SkipBlanks(line, 0));
        if (line.empty()) continue;

        if (line[0] == '[') {
            std::size_t position = 1;
            const auto section = ReadEscaped(line, position, ']');
            inKey = section && EqualIgnoringAsciiCase(*section, key);
        } else if (inKey && (line[0] == '"' || line[0] == '@')) {
            if (auto value = ValueOfLine(line, name)) return value;
        }
    }
    return std::nullopt;
}

}  // namespace platform
