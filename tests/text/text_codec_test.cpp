#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "text/character_table.h"
#include "text/text_decoder.h"
#include "text/text_encoder.h"
#include "text/windows1252.h"

namespace {

using namespace std::string_literals;
using Bytes = std::vector<std::uint8_t>;

struct CodecRow {
    std::string tagged;
    Bytes bytes;
};

// Every tag with its bytes; each must decode and encode both ways.
// clang-format off
const CodecRow kTagRows[] = {
    {"{GREY}", {0xFE, 0xD2}}, {"{BLUE}", {0xFE, 0xD3}}, {"{RED}", {0xFE, 0xD4}},
    {"{PURPLE}", {0xFE, 0xD5}}, {"{GREEN}", {0xFE, 0xD6}}, {"{CYAN}", {0xFE, 0xD7}},
    {"{YELLOW}", {0xFE, 0xD8}}, {"{WHITE}", {0xFE, 0xD9}}, {"{BLINK}", {0xFE, 0xDA}},
    {"{MULTICOLOUR}", {0xFE, 0xDB}}, {"{WAIT KEYPRESS}", {0xFE, 0xDC}},
    {"{PAUSE 1}", {0xFE, 0xDD, 0x0A, 0x00}}, {"{PAUSE 2}", {0xFE, 0xDD, 0x0F, 0x00}},
    {"{PAUSE 3}", {0xFE, 0xDD, 0x14, 0x00}}, {"{PAUSE 4}", {0xFE, 0xDD, 0x1E, 0x00}},
    {"{PAUSE 5}", {0xFE, 0xDD, 0x3C, 0x00}}, {"{VAR1}", {0xFE, 0xDE}}, {"{VAR2}", {0xFE, 0xDF}},
    {"{SCROLLING}", {0xFE, 0xE0}}, {"{VAR3}", {0xFE, 0xE1}},
    {"{SPACED CHARACTERS}", {0xFE, 0xE9}}, {"{CLOUD}", {0xEA}}, {"{BARRET}", {0xEB}},
    {"{TIFA}", {0xEC}}, {"{AERIS}", {0xED}}, {"{RED XIII}", {0xEE}}, {"{YUFFIE}", {0xEF}},
    {"{CAIT SITH}", {0xF0}}, {"{VINCENT}", {0xF1}}, {"{CID}", {0xF2}}, {"{MEMBER 1}", {0xF3}},
    {"{MEMBER 2}", {0xF4}}, {"{MEMBER 3}", {0xF5}}, {"{CHOICE}", {0xE0}},
    {"\r\n{NEW PAGE}\r\n", {0xE8}}, {"\r\n", {0xE7}}, {"\t", {0xE1}}, {"\0"s, {0xFF}},
    {"{NEW CHOCOBO SEX}", {0xFE, 0xE2, 0x62, 0x03, 0x01, 0x00}},
    {"{CHOCOBO NAME}", {0xFE, 0xE2, 0x40, 0x04, 0x06, 0x00}},
    {"{CHOCOBO SEX}", {0xFE, 0xE2, 0x62, 0x03, 0x06, 0x00}},
    {"{CHOCOBO CLASS}", {0xFE, 0xE2, 0x4A, 0x04, 0x01, 0x00}},
    {"{CHOCOBO 1 NAME}", {0xFE, 0xE2, 0x20, 0x03, 0x06, 0x00}},
    {"{CHOCOBO 2 NAME}", {0xFE, 0xE2, 0x26, 0x03, 0x06, 0x00}},
    {"{CHOCOBO 3 NAME}", {0xFE, 0xE2, 0x2C, 0x03, 0x06, 0x00}},
    {"{CHOCOBO 4 NAME}", {0xFE, 0xE2, 0x32, 0x03, 0x06, 0x00}},
    {"{CHOCOBO 5 NAME}", {0xFE, 0xE2, 0x38, 0x03, 0x06, 0x00}},
    {"{CHOCOBO 6 NAME}", {0xFE, 0xE2, 0x3E, 0x03, 0x06, 0x00}}, {"{MODE}", {0xFE}},
};
// clang-format on

TEST(TagTest, EachTagDecodesFromAndEncodesToItsBytes) {
    for (const CodecRow& row : kTagRows) {
        Bytes stored = row.bytes;
        stored.push_back(0xFF);
        EXPECT_EQ(text::DecodeText(stored), row.tagged) << row.tagged;
        EXPECT_EQ(text::EncodeText(row.tagged, true), stored) << row.tagged;
    }
}

TEST(DecodeTextTest, DecodesExamples) {
    const CodecRow rows[] = {
        {"", {}},
        {"", {0xFF}},
        {"\t{CHOICE}", {0xE1, 0xE0}},
        {"A\r\n{NEW PAGE}\r\nB", {0x21, 0xE8, 0x22, 0xFF}},
        {"A\0B"s, {0x21, 0xFF, 0x22}},
        {"\0"s, {0xFF, 0xFF}},
        {"  ,", {0x5F, 0xAA, 0xC2}},
        {"%1%50%", {0x80, 0xFD, 0x05}},
        {"%12%12", {0x80, 0x12, 0x99}},
        {"\x82%38%41%42%43%50", {0xE2, 0xE3, 0xE6, 0xE9, 0xF6, 0xFD}},
        {"{MODE}%35% ", {0xFE, 0xDD, 0x05, 0x00}},
        {"{MODE}%35+ ", {0xFE, 0xDD, 0x0B, 0x00, 0xFF}},
        {"{MODE}%35*!", {0xFE, 0xDD, 0x0A, 0x01}},
        {"{MODE}\x82\xC7#\" ", {0xFE, 0xE2, 0x62, 0x03, 0x02, 0x00, 0xFF}},
        {"{MODE}{GREY}", {0xFE, 0xFE, 0xD2}},
        {"A{MODE}", {0x21, 0xFE, 0xFF}},
        {"{CLOUD}{B}", {0x5B, 0x23, 0x2C, 0x2F, 0x35, 0x24, 0x5D, 0x5B, 0x22, 0x5D}},
        // Escape sequences cut off by the end of data without its terminator.
        {"{MODE}", {0xFE}},
        {"{MODE}%35*", {0xFE, 0xDD, 0x0A}},
        {"{MODE}\x82\xC7#!", {0xFE, 0xE2, 0x62, 0x03, 0x01}},
        {"{PAUSE 1}", {0xFE, 0xDD, 0x0A, 0x00}},
    };
    for (const CodecRow& row : rows) {
        // An exact-size copy, so that a read past the end shows under the sanitizers.
        const Bytes exact(row.bytes);
        EXPECT_EQ(text::DecodeText(exact), row.tagged) << testing::PrintToString(row.bytes);
    }
}

TEST(EncodeTextTest, EncodesExamples) {
    const CodecRow rows[] = {
        {"", {0xFF}},
        {"A\r\nB", {0x21, 0xE7, 0x22, 0xFF}},
        {"A{NEW PAGE}B",
         {0x21, 0x5B, 0x2E, 0x25, 0x37, 0x00, 0x30, 0x21, 0x27, 0x25, 0x5D, 0x22, 0xFF}},
        {"\r\n\r\n{NEW PAGE}",
         {0xE7, 0xE7, 0x5B, 0x2E, 0x25, 0x37, 0x00, 0x30, 0x21, 0x27, 0x25, 0x5D, 0xFF}},
        {"100%", {0x11, 0x10, 0x10, 0x05, 0xFF}},
        {"%12", {0x99, 0xFF}},
        {"%99A", {0x00, 0x21, 0xFF}},
        {"%0%51%007%%", {0x00, 0x00, 0x00, 0x05, 0x05, 0xFF}},
        {"{CLOUD}{RED}Hi", {0xEA, 0xFE, 0xD4, 0x28, 0x49, 0xFF}},
        {"{PAUSE 6}", {0x5B, 0x30, 0x21, 0x35, 0x33, 0x25, 0x00, 0x16, 0x5D, 0xFF}},
        {"{grey}{CLOUD",
         {0x5B, 0x47, 0x52, 0x45, 0x59, 0x5D, 0x5B, 0x23, 0x2C, 0x2F, 0x35, 0x24, 0xFF}},
        {"{MODE}{GREY}", {0xFE, 0xFE, 0xD2, 0xFF}},
        {"\rA\n\x80", {0x00, 0x21, 0x00, 0x00, 0xFF}},
        {" ,\xFF", {0x00, 0x0C, 0xB8, 0xFF}},
        {"\0\t"s, {0xFF, 0xE1, 0xFF}},
    };
    for (const CodecRow& row : rows) {
        EXPECT_EQ(text::EncodeText(row.tagged, true), row.bytes) << row.tagged;
    }
    EXPECT_EQ(text::EncodeText("A", false), Bytes{0x21});
}

TEST(EncodeTextTest, CharacterCodeAndLeadingDigits) {
    const std::pair<std::string, int> codes[] = {
        {" ", 0x00},    {",", 0x0C},   {"%", 0x05},    {"%12", 0x99},
        {"%51", 0x00},  {"", 0x00},    {"AB", 0x00},   {"{CLOUD}", 0xEA},
        {"\r\n", 0xE7}, {"\0"s, 0xFF}, {"\x80", 0x00}, {"{cloud}", 0x00},
    };
    for (const auto& [s, code] : codes) EXPECT_EQ(text::CharacterCode(s), code) << s;
    const std::pair<std::string, std::string> digits[] = {
        {"", ""}, {"x1", ""}, {"12a3", "12"}, {"007", "007"}};
    for (const auto& [s, run] : digits) EXPECT_EQ(text::LeadingDigits(s), run) << s;
}

TEST(EncodeTextTest, HasCharacterCodeForEveryCharacterOfTheTableAlone) {
    const std::pair<char, bool> rows[] = {
        {' ', true},     {'%', true},     {'{', true},    {'\t', true},
        {'\0', true},    {'\xE9', true},  {'\x85', true}, {'\x80', false},
        {'\xA0', false}, {'\x81', false}, {'\r', false},  {'\n', false},
    };
    for (const auto& [c, known] : rows) {
        EXPECT_EQ(text::HasCharacterCode(c), known)
            << static_cast<int>(static_cast<unsigned char>(c));
    }
}

TEST(EncodeTextTest, UnknownCharactersAreFoundWhereTheyStand) {
    // Windows-1252 text: the euro sign, a no-break space and an undefined byte have no code;
    // a placeholder past %50 has none either; spaces, tags (even those ending in a 0 byte) and
    // lone percent signs do.
    const std::pair<std::string, std::vector<std::pair<std::size_t, std::string>>> rows[] = {
        {"A \x80 B", {{2, "\x80"}}},
        {"\xA0{PAUSE 1}\x81", {{0, "\xA0"}, {10, "\x81"}}},
        {"5% %99999 %50 %0", {{3, "%99999"}, {14, "%0"}}},
        {"{CLOUD}\r\n \tok", {}},
        {"a\rb", {{1, "\r"}}},
    };
    for (const auto& [tagged, expected] : rows) {
        std::vector<std::pair<std::size_t, std::string>> found;
        for (const text::UnknownCharacter& unknown : text::UnknownCharacters(tagged)) {
            found.emplace_back(unknown.position, std::string(unknown.written));
        }
        EXPECT_EQ(found, expected) << tagged;
    }
}

// Codes 0x60 to 0xDF as the game's character set lists them; "SP" is the third space.
const char* const kCharacterRows[] = {
    "Ä Å Ç É Ñ Ö Ü á à â ä ã å ç é è",
    "ê ë í ì î ï ñ ó ò ô ö õ ú ù û ü",
    "%1 ° ¢ £ %2 %3 ¶ ß ® © ™ %4 ¨ %5 Æ Ø",
    "%6 ± %7 %8 ¥ µ %9 %10 %11 %12 %13 ª º %14 æ ø",
    "¿ ¡ ¬ %15 ƒ %16 %17 « » … SP À Ã Õ Œ œ",
    "– — “ ” ‘ ’ %18 %19 ÿ Ÿ %20 ¤ ‹ › %21 %22",
    "%23 %24 , „ ‰ Â Ê Á Ë È Í Î Ï Ì Ó Ô",
    "%25 Ò Ù Û %26 %27 %28 %29 %30 %31 %32 %33 %34 %35 %36 %37",
};

TEST(CharacterTableTest, MatchesTheGameCharacterSet) {
    for (int code = 0; code < 0x5F; ++code) {
        EXPECT_EQ(text::CharacterTable[code], std::string(1, static_cast<char>(code + 0x20)));
    }
    EXPECT_EQ(text::CharacterTable[0x5F], " ");
    int code = 0x60;
    for (const char* row : kCharacterRows) {
        std::istringstream words(row);
        for (std::string word; words >> word; ++code) {
            EXPECT_EQ(text::Windows1252ToUtf8(text::CharacterTable[code]),
                      word == "SP" ? " " : word)
                << "code " << code;
        }
    }
    EXPECT_EQ(code, 0xE0);
    // Placeholders are numbered 1 to 50 in ascending code order.
    int placeholders = 0;
    for (const std::string_view entry : text::CharacterTable) {
        if (entry.size() > 1 && entry[0] == text::PlaceholderChar) {
            EXPECT_EQ(entry.substr(1), std::to_string(++placeholders));
        }
    }
    EXPECT_EQ(placeholders, 50);
}

}  // namespace
