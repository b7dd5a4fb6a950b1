#include "text/case_folding.h"

#include <array>

namespace text {

namespace {

constexpr std::array<unsigned char, 256> kLowerLocale = [] {
    std::array<unsigned char, 256> lower{};
    for (std::size_t c = 0; c < lower.size(); ++c) lower[c] = static_cast<unsigned char>(c);
    for (unsigned char c = 'A'; c <= 'Z'; ++c) lower[c] = c + 0x20;
    // À to Þ; 0xD7 is the multiplication sign, which has no small form.
    for (unsigned char c = 0xC0; c <= 0xDE; ++c) {
        if (c != 0xD7) lower[c] = c + 0x20;
    }
    lower[0x8A] = 0x9A;  // Š
    lower[0x8C] = 0x9C;  // Œ
    lower[0x8E] = 0x9E;  // Ž
    lower[0x9F] = 0xFF;  // Ÿ
    return lower;
}();

}  // namespace

char LowerLocale(char c) { return static_cast<char>(kLowerLocale[static_cast<unsigned char>(c)]); }

std::string LowerLocale(std::string_view s) {
    std::string lower(s);
    for (char& c : lower) c = LowerLocale(c);
    return lower;
}

std::string LowerAscii(std::string_view s) {
    std::string lower(s);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
    }
    return lower;
}

std::size_t LastPos(std::string_view needle, std::string_view haystack) {
    if (needle.empty()) return 0;
    const std::size_t found = haystack.rfind(needle);
    return found == std::string_view::npos ? 0 : found + 1;
}

std::string ReplaceOccurrences(std::string_view s, std::string_view search,
                               std::string_view replacement, bool matchCase,
                               std::size_t* replaced) {
    if (replaced != nullptr) *replaced = 0;
    if (search.empty()) return std::string(s);
    // Folding keeps every character in place, so positions found in the folded copies are
    // positions in s.
    const std::string foldedText = matchCase ? std::string() : LowerLocale(s);
    const std::string foldedSearch = matchCase ? std::string() : LowerLocale(search);
    const std::string_view haystack = matchCase ? s : std::string_view(foldedText);
    const std::string_view needle = matchCase ? search : std::string_view(foldedSearch);
    std::string result;
    std::size_t from = 0;
    for (std::size_t at = haystack.find(needle); at != std::string_view::npos;
         at = haystack.find(needle, from)) {
        result.append(s.substr(from, at - from));
        result.append(replacement);
        from = at + needle.size();
        if (replaced != nullptr) ++*replaced;
    }
    result.append(s.substr(from));
    return result;
}

}  // namespace text
