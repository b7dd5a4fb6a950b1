#pragma once

#include <array>
#include <cstdint>
#include <string_view>

// The game's character set as tagged text shows it. Tagged text is Windows-1252, with line
// breaks as CR LF and game control codes as tags in braces.
namespace text {

// Closes every stored text.
inline constexpr std::uint8_t kTerminatorCode = 0xFF;
// Opens an escape sequence of 2, 4 or 6 bytes, or stands alone as "{MODE}".
inline constexpr std::uint8_t kEscapeCode = 0xFE;

// Starts a placeholder: a game character without a Windows-1252 equivalent is written as this
// character followed by its number, 1 to 50, numbered in ascending code order.
inline constexpr char PlaceholderChar = '%';

// What each game code reads as in tagged text: one Windows-1252 character, a placeholder, a
// tag or line break, or (0xFF) a NUL. Not one-to-one: space stands at 0x00, 0x5F and 0xAA,
// comma at 0x0C and 0xC2; encoding takes the lowest code.
// clang-format off
inline constexpr std::array<std::string_view, 256> CharacterTable = {
    // 0x00-0x5E: printable ASCII, entry = code + 0x20.
    " ", "!", "\"", "#", "$", "%", "&", "'", "(", ")", "*", "+", ",", "-", ".", "/",
    "0", "1", "2", "3", "4", "5", "6", "7", "8", "9", ":", ";", "<", "=", ">", "?",
    "@", "A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L", "M", "N", "O",
    "P", "Q", "R", "S", "T", "U", "V", "W", "X", "Y", "Z", "[", "\\", "]", "^", "_",
    "`", "a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "l", "m", "n", "o",
    "p", "q", "r", "s", "t", "u", "v", "w", "x", "y", "z", "{", "|", "}", "~", " ",
    // 0x60: Ä Å Ç É Ñ Ö Ü á à â ä ã å ç é è
    "\xC4", "\xC5", "\xC7", "\xC9", "\xD1", "\xD6", "\xDC", "\xE1",
    "\xE0", "\xE2", "\xE4", "\xE3", "\xE5", "\xE7", "\xE9", "\xE8",
    // 0x70: ê ë í ì î ï ñ ó ò ô ö õ ú ù û ü
    "\xEA", "\xEB", "\xED", "\xEC", "\xEE", "\xEF", "\xF1", "\xF3",
    "\xF2", "\xF4", "\xF6", "\xF5", "\xFA", "\xF9", "\xFB", "\xFC",
    // 0x80: %1 ° ¢ £ %2 %3 ¶ ß ® © ™ %4 ¨ %5 Æ Ø
    "%1", "\xB0", "\xA2", "\xA3", "%2", "%3", "\xB6", "\xDF",
    "\xAE", "\xA9", "\x99", "%4", "\xA8", "%5", "\xC6", "\xD8",
    // 0x90: %6 ± %7 %8 ¥ µ %9 %10 %11 %12 %13 ª º %14 æ ø
    "%6", "\xB1", "%7", "%8", "\xA5", "\xB5", "%9", "%10",
    "%11", "%12", "%13", "\xAA", "\xBA", "%14", "\xE6", "\xF8",
    // 0xA0: ¿ ¡ ¬ %15 ƒ %16 %17 « » … space À Ã Õ Œ œ
    "\xBF", "\xA1", "\xAC", "%15", "\x83", "%16", "%17", "\xAB",
    "\xBB", "\x85", " ", "\xC0", "\xC3", "\xD5", "\x8C", "\x9C",
    // 0xB0: – — “ ” ‘ ’ %18 %19 ÿ Ÿ %20 ¤ ‹ › %21 %22
    "\x96", "\x97", "\x93", "\x94", "\x91", "\x92", "%18", "%19",
    "\xFF", "\x9F", "%20", "\xA4", "\x8B", "\x9B", "%21", "%22",
    // 0xC0: %23 %24 , „ ‰ Â Ê Á Ë È Í Î Ï Ì Ó Ô
    "%23", "%24", ",", "\x84", "\x89", "\xC2", "\xCA", "\xC1",
    "\xCB", "\xC8", "\xCD", "\xCE", "\xCF", "\xCC", "\xD3", "\xD4",
    // 0xD0: %25 Ò Ù Û %26 to %37
    "%25", "\xD2", "\xD9", "\xDB", "%26", "%27", "%28", "%29",
    "%30", "%31", "%32", "%33", "%34", "%35", "%36", "%37",
    // 0xE0: tags, TAB, ‚ (low quotation mark), placeholders and the two line breaks.
    "{CHOICE}", "\t", "\x82", "%38", "%39", "%40", "%41", "\r\n",
    "\r\n{NEW PAGE}\r\n", "%42", "{CLOUD}", "{BARRET}", "{TIFA}", "{AERIS}", "{RED XIII}",
    "{YUFFIE}",
    // 0xF0: the other character names, placeholders, the lone escape byte and the terminator.
    "{CAIT SITH}", "{VINCENT}", "{CID}", "{MEMBER 1}", "{MEMBER 2}", "{MEMBER 3}", "%43", "%44",
    "%45", "%46", "%47", "%48", "%49", "%50", "{MODE}", std::string_view("\0", 1),
};
// clang-format on

}  // namespace text
