#include "text/windows1252.h"

#include <algorithm>
#include <array>
#include <optional>

namespace text {

namespace {

// The characters of the bytes 0x80 to 0x9F; every other byte is the code point of its value.
constexpr std::array<char32_t, 32> kHighRange = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 0x88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 0x98
};

char32_t CodePoint(unsigned char byte) {
    return byte >= 0x80 && byte <= 0x9F ? kHighRange[byte - 0x80] : byte;
}

std::optional<char> Windows1252Char(char32_t codePoint) {
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) {
        return static_cast<char>(codePoint);
    }
    const auto* found = std::find(kHighRange.begin(), kHighRange.end(), codePoint);
    if (found == kHighRange.end()) return std::nullopt;
    return static_cast<char>(0x80 + (found - kHighRange.begin()));
}

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

struct Utf8Sequence {
    std::optional<char32_t> codePoint;  // empty for an ill-formed sequence
    std::size_t length;
};

// Reads the sequence at the start of the non-empty s. An ill-formed one is as long as its
// maximal subpart (the longest start of a well-formed sequence), at least one byte, so that
// each is replaced by one character as Unicode recommends.
Utf8Sequence ReadUtf8(std::string_view s) {
    const auto lead = static_cast<unsigned char>(s[0]);
    if (lead < 0x80) return {lead, 1};
    std::size_t length = 0;
    char32_t codePoint = 0;
    // The second byte's range excludes overlong forms, surrogates and values past U+10FFFF.
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0F;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return {std::nullopt, 1};
    }
    for (std::size_t k = 1; k < length; ++k) {
        if (k == s.size()) return {std::nullopt, k};
        const auto next = static_cast<unsigned char>(s[k]);
        if (next < low || next > high) return {std::nullopt, k};
        codePoint = (codePoint << 6) | (next & 0x3F);
        low = 0x80;
        high = 0xBF;
    }
    return {codePoint, length};
}

}  // namespace

void AppendUtf8(std::string& out, char32_t codePoint) {
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (codePoint >> 18));
        out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

std::string Windows1252ToUtf8(std::string_view windows1252) {
    std::string utf8;
    utf8.reserve(windows1252.size());
    for (const char c : windows1252) AppendUtf8(utf8, CodePoint(static_cast<unsigned char>(c)));
    return utf8;
}

Windows1252Text Utf8ToWindows1252(std::string_view utf8) {
    Windows1252Text result;
    result.text.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const Utf8Sequence sequence = ReadUtf8(utf8.substr(i));
        const std::optional<char> c =
            sequence.codePoint ? Windows1252Char(*sequence.codePoint) : std::nullopt;
        if (c) {
            result.text += *c;
        } else {
            result.text += kReplacementChar;
            ++result.replaced;
        }
        i += sequence.length;
    }
    return result;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size());
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        const char16_t unit = utf16[i];
        if (IsHighSurrogate(unit) && i + 1 < utf16.size() && IsLowSurrogate(utf16[i + 1])) {
            AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (utf16[i + 1] - 0xDC00));
            ++i;
        } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
            AppendUtf8(out, 0xFFFD);
        } else {
            AppendUtf8(out, unit);
        }
    }
    return out;
}

}  // namespace text
