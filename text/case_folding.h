#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Letter case of tagged text (Windows-1252) for searching and replacing.
namespace text {

// The lower-case form of a Windows-1252 character as the user's locale makes it: A to Z, the
// accented capitals 0xC0 to 0xDE but for the multiplication sign, and Š, Œ, Ž and Ÿ take their
// small forms; every other character is kept.
char LowerLocale(char c);
// Every character of s through LowerLocale; the result is as long as s.
std::string LowerLocale(std::string_view s);
// Every character of s with only A to Z made small; the result is as long as s.
std::string LowerAscii(std::string_view s);

// 1-based position of the last occurrence of needle in haystack; 0 when there is none or
// needle is empty.
std::size_t LastPos(std::string_view needle, std::string_view haystack);

// s with every occurrence of search replaced by replacement, scanning from the left and
// resuming after each replaced occurrence; occurrences are compared exactly, or through
// LowerLocale when matchCase is false. An empty search replaces nothing. The number of
// occurrences replaced goes to *replaced when it is given.
std::string ReplaceOccurrences(std::string_view s, std::string_view search,
                               std::string_view replacement, bool matchCase,
                               std::size_t* replaced = nullptr);

}  // namespace text
