#include "text/case_folding.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>

namespace {

TEST(CaseFoldingTest, LowerLocaleFoldsTheLettersWithSmallForms) {
    struct Row {
        char upper;
        char lower;
    };
    // ASCII, then À É Ö Ø Þ × ß Š Œ Ž Ÿ µ ÿ and NUL.
    const Row rows[] = {
        {'A', 'a'},       {'Z', 'z'},       {'a', 'a'},       {'@', '@'},       {'[', '['},
        {'{', '{'},       {'\xC0', '\xE0'}, {'\xC9', '\xE9'}, {'\xD6', '\xF6'}, {'\xD8', '\xF8'},
        {'\xDE', '\xFE'}, {'\xD7', '\xD7'}, {'\xDF', '\xDF'}, {'\x8A', '\x9A'}, {'\x8C', '\x9C'},
        {'\x8E', '\x9E'}, {'\x9F', '\xFF'}, {'\xB5', '\xB5'}, {'\xFF', '\xFF'}, {'\0', '\0'},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(text::LowerLocale(row.upper), row.lower)
            << std::hex << static_cast<int>(static_cast<unsigned char>(row.upper));
    }
    EXPECT_EQ(text::LowerLocale("\xC9LAN {CLOUD}\r\n\x8C"), "\xE9lan {cloud}\r\n\x9C");
}

TEST(CaseFoldingTest, LowerAsciiFoldsOnlyAToZ) {
    EXPECT_EQ(text::LowerAscii("\xC9LAN {CLOUD} \x8A\x9F"), "\xC9lan {cloud} \x8A\x9F");
    EXPECT_EQ(text::LowerAscii(""), "");
}

TEST(CaseFoldingTest, LastPosGivesTheLastOccurrenceFromOne) {
    struct Row {
        const char* needle;
        const char* haystack;
        std::size_t position;
    };
    const Row rows[] = {
        {"ab", "xabyab", 5}, {"ab", "abxy", 1}, {"aa", "aaa", 2}, {"ab", "xyz", 0},
        {"abc", "ab", 0},    {"", "abc", 0},    {"a", "", 0},     {"\r\n", "a\r\nb\r\n", 5},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(text::LastPos(row.needle, row.haystack), row.position)
            << row.needle << " in " << row.haystack;
    }
}

TEST(CaseFoldingTest, ReplaceOccurrencesFromTheLeft) {
    struct Row {
        const char* text;
        const char* search;
        const char* replacement;
        bool matchCase;
        const char* result;
        std::size_t replaced;
    };
    const Row rows[] = {
        {"abcabc", "bc", "X", true, "aXaX", 2},
        {"aaa", "aa", "b", true, "ba", 1},
        // The replacement holds the search text: replaced once, not again and again.
        {"ABC", "b", "bb", false, "AbbC", 1},
        {"ABC", "b", "x", true, "ABC", 0},
        {"\xC9lan \xE9lan", "\xE9LAN", "x", false, "x x", 2},
        {"\xC9lan \xE9lan", "\xE9lan", "x", true, "\xC9lan x", 1},
        {"a\r\nb", "\r\n", " ", true, "a b", 1},
        {"{CLOUD}!", "{cloud}", "{TIFA}", false, "{TIFA}!", 1},
        {"abc", "", "x", false, "abc", 0},
        {"", "a", "x", false, "", 0},
    };
    for (const Row& row : rows) {
        std::size_t replaced = 99;
        EXPECT_EQ(text::ReplaceOccurrences(row.text, row.search, row.replacement, row.matchCase,
                                           &replaced),
                  row.result)
            << row.text << " / " << row.search;
        EXPECT_EQ(replaced, row.replaced) << row.text << " / " << row.search;
    }
}

}  // namespace
