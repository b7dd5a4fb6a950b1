#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Conversion between tagged text (Windows-1252) and the UTF-8 of the user interface.
namespace text {

// Stands for a character that Windows-1252 cannot hold, as Windows' own conversion does.
inline constexpr char kReplacementChar = '?';

struct Windows1252Text {
    std::string text;
    // Characters written as kReplacementChar: code points outside Windows-1252, and ill-formed
    // UTF-8 (one per maximal ill-formed subsequence).
    std::size_t replaced = 0;
};

// Every byte to its character as UTF-8. The five bytes Windows-1252 leaves undefined (0x81,
// 0x8D, 0x8F, 0x90, 0x9D) become the C1 controls of the same value, so all 256 bytes convert
// and Utf8ToWindows1252 gives them back. Never fails.
std::string Windows1252ToUtf8(std::string_view windows1252);

// UTF-8 to Windows-1252, the exact inverse of Windows1252ToUtf8 on its results. Characters
// outside Windows-1252 and ill-formed UTF-8 become kReplacementChar and are counted, so that
// the caller can warn.
Windows1252Text Utf8ToWindows1252(std::string_view utf8);

// Appends the UTF-8 form of one code point (up to U+10FFFF) to out.
void AppendUtf8(std::string& out, char32_t codePoint);

// UTF-8 for a run of UTF-16 code units (as Windows keeps its wide strings). A surrogate
// without its partner becomes U+FFFD, so that any input gives valid UTF-8.
std::string Utf16ToUtf8(std::u16string_view utf16);

}  // namespace text
