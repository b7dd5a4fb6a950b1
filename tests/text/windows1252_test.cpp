#include <gtest/gtest.h>

#include <cstddef>
#include <string>

#include "text/windows1252.h"

namespace {

TEST(Windows1252Test, EveryByteConvertsAndComesBack) {
    // The bytes 0x80 to 0x9F; 0x81, 0x8D, 0x8F, 0x90 and 0x9D are the C1 controls.
    const std::string high = "€\u0081‚ƒ„…†‡ˆ‰Š‹Œ\u008DŽ\u008F\u0090‘’“”•–—˜™š›œ\u009DžŸ";
    std::string all;
    std::string expected;
    for (int byte = 0; byte < 256; ++byte) {
        all += static_cast<char>(byte);
        if (byte < 0x80) {
            expected += static_cast<char>(byte);
        } else if (byte >= 0xA0) {
            expected += static_cast<char>(0xC0 | (byte >> 6));
            expected += static_cast<char>(0x80 | (byte & 0x3F));
        } else if (byte == 0x80) {
            expected += high;
        }
    }
    const std::string utf8 = text::Windows1252ToUtf8(all);
    EXPECT_EQ(utf8, expected);
    const text::Windows1252Text back = text::Utf8ToWindows1252(utf8);
    EXPECT_EQ(back.text, all);
    EXPECT_EQ(back.replaced, 0u);
    for (int byte = 0; byte < 256; ++byte) {
        const std::string one(1, static_cast<char>(byte));
        EXPECT_EQ(text::Utf8ToWindows1252(text::Windows1252ToUtf8(one)).text, one) << byte;
    }
}

TEST(Windows1252Test, ReplacesWhatWindows1252CannotHold) {
    struct Row {
        std::string utf8;
        std::string expected;
        std::size_t replaced;
    };
    const Row rows[] = {
        {"", "", 0},
        {"a\u0080b\u0100c", "a?b?c", 2},  // U+0080 has no byte: 0x80 is the euro sign
        {"\U0001F600", "?", 1},
        {"\x80x", "?x", 1},               // a lone continuation byte
        {"\xE2\x82x\xE2\x82", "?x?", 2},  // cut-off sequences, one replacement each
        {"\xC0\xAF", "??", 2},            // an overlong form
        {"\xED\xA0\x80", "???", 3},       // a surrogate
        {"\xF4\x90\x80\x80", "????", 4},  // past U+10FFFF
        {"\xF0\x9F\x98", "?", 1},
    };
    for (const Row& row : rows) {
        const text::Windows1252Text result = text::Utf8ToWindows1252(row.utf8);
        EXPECT_EQ(result.text, row.expected) << testing::PrintToString(row.utf8);
        EXPECT_EQ(result.replaced, row.replaced) << testing::PrintToString(row.utf8);
    }
}

TEST(Utf16ToUtf8Test, PairsSurrogatesAndReplacesLoneOnes) {
    struct Row {
        std::u16string utf16;
        std::string utf8;
    };
    const Row rows[] = {
        {u"Tifa", "Tifa"},
        {u"\u00E9\u20AC", "\xC3\xA9\xE2\x82\xAC"},
        {u"\xD83D\xDE00", "\xF0\x9F\x98\x80"},  // a pair: U+1F600
        {u"a\xD83D" u"b", "a\xEF\xBF\xBD" "b"},  // a high surrogate alone
        {u"\xDE00", "\xEF\xBF\xBD"},              // a low surrogate alone
    };
    for (const Row& row : rows) EXPECT_EQ(text::Utf16ToUtf8(row.utf16), row.utf8);
}

}  // namespace
