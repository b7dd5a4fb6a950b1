#include "translation/text_checks.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "text/text_encoder.h"
#include "translation/text_profile.h"

namespace {

using translation::Check;
using translation::Finding;
using translation::LineSpaces;
using translation::Severity;
using Bytes = std::vector<std::uint8_t>;

Bytes Encoded(const std::string& tagged) { return text::EncodeText(tagged, true); }

TEST(TextProfileTest, ReadsTheBytesAsTheDecoderDoes) {
    struct Row {
        const char* what;
        Bytes bytes;
        std::vector<std::size_t> variables;  // the kinds found, once per occurrence
        int pages;
        std::vector<LineSpaces> lines;
        int doubleSpaces;
    };
    const Row rows[] = {
        {"nothing but the terminator", {0xFF}, {}, 1, {{0, 0}}, 0},
        {"the three space codes", {0x00, 0x21, 0x5F, 0xAA, 0x21, 0xFF}, {}, 1, {{1, 0}}, 1},
        {"a line of spaces alone", {0x00, 0x00, 0xE7, 0x21}, {}, 1, {{2, 0}, {0, 0}}, 0},
        {"trailing spaces on each line", {0x21, 0x00, 0xE7, 0x21, 0x00, 0x00, 0xFF}, {}, 1,
         {{0, 1}, {0, 2}}, 0},
        {"a page break stands on a line of its own", {0x21, 0xE8, 0x00, 0x22, 0xFF}, {}, 2,
         {{0, 0}, {0, 0}, {1, 0}}, 0},
        {"the variable tags", {0xFE, 0xDE, 0xFE, 0xDF, 0xFE, 0xE1, 0xFE, 0xDE, 0xFF},
         {0, 0, 1, 2}, 1, {{0, 0}}, 0},
        {"a chocobo tag", {0xFE, 0xE2, 0x40, 0x04, 0x06, 0x00, 0xFF}, {4}, 1, {{0, 0}}, 0},
        {"placeholders, and a plain percent sign", {0x80, 0x12, 0xFD, 0x05, 0xFF}, {13, 62}, 1,
         {{0, 0}}, 0},
        // FE DD 05 00 is no pause: {MODE}, then 0xDD (%35) and two ordinary codes.
        {"an escape that matches no sequence", {0xFE, 0xDD, 0x05, 0x00, 0xFF}, {12 + 35}, 1,
         {{0, 1}}, 0},
        {"a chocobo sequence cut off by the end", {0x21, 0xFE, 0xE2, 0x40, 0x04}, {}, 1,
         {{0, 0}}, 0},
    };
    for (const Row& row : rows) {
        const translation::TextProfile profile = translation::ProfileText(row.bytes);
        std::vector<std::size_t> variables;
        for (std::size_t kind = 0; kind < translation::kVariableKinds; ++kind) {
            for (int n = 0; n < profile.variables[kind]; ++n) variables.push_back(kind);
        }
        EXPECT_EQ(variables, row.variables) << row.what;
        EXPECT_EQ(profile.pages, row.pages) << row.what;
        EXPECT_EQ(profile.lines, row.lines) << row.what;
        EXPECT_EQ(profile.doubleSpaces, row.doubleSpaces) << row.what;
    }
    EXPECT_TRUE(translation::ProfileText(Bytes{0xFF}).empty);
    EXPECT_FALSE(translation::ProfileText(Bytes{0x00, 0xFF}).empty);
}

TEST(TextProfileTest, NamesEveryVariableKind) {
    EXPECT_EQ(translation::VariableName(0), "{VAR1}");
    EXPECT_EQ(translation::VariableName(2), "{VAR3}");
    EXPECT_EQ(translation::VariableName(3), "{NEW CHOCOBO SEX}");
    EXPECT_EQ(translation::VariableName(12), "{CHOCOBO 6 NAME}");
    EXPECT_EQ(translation::VariableName(13), "%1");
    EXPECT_EQ(translation::VariableName(62), "%50");
}

struct CheckCase {
    const char* what;
    std::string original;
    std::string text;
    // The first and last choice line of the ASK that shows the text; none when first < 0.
    int firstChoice;
    int lastChoice;
    std::vector<Finding> expected;
};

// Names each case by what it checks in test listings.
void PrintTo(const CheckCase& c, std::ostream* out) { *out << c.what; }

class CheckTranslationTest : public testing::TestWithParam<CheckCase> {};

TEST_P(CheckTranslationTest, FindsWhatBreaksOrSlips) {
    const CheckCase& c = GetParam();
    TMessage ask;
    ask.Ask = true;
    ask.FirstChoice = static_cast<std::uint8_t>(c.firstChoice);
    ask.LastChoice = static_cast<std::uint8_t>(c.lastChoice);
    const std::vector<Finding> findings = translation::CheckTranslation(
        Encoded(c.text), Encoded(c.original), c.firstChoice >= 0 ? &ask : nullptr);
    EXPECT_EQ(findings, c.expected) << c.what;
}

const Finding kVar1Missing{Severity::Error, Check::Variables, "{VAR1} missing"};

INSTANTIATE_TEST_SUITE_P(
    Variables, CheckTranslationTest,
    testing::Values(
        CheckCase{"the same bytes are not checked", "It's {VAR1} gil.  ", "It's {VAR1} gil.  ",
                  -1, -1, {}},
        CheckCase{"{VAR1} moved but kept", "It's {VAR1} gil.", "{VAR1} gil, please.", -1, -1, {}},
        CheckCase{"{VAR1} dropped", "It's {VAR1} gil.", "It's free.", -1, -1, {kVar1Missing}},
        CheckCase{"{VAR2} added, {VAR3} kept",
                  "{VAR3} left.",
                  "{VAR3} left, {VAR2}.",
                  -1,
                  -1,
                  {{Severity::Error, Check::Variables, "{VAR2} added"}}},
        CheckCase{"a variable given twice, kept once",
                  "{VAR1} and {VAR1}",
                  "{VAR1}",
                  -1,
                  -1,
                  {kVar1Missing}},
        CheckCase{"a variable given twice, dropped",
                  "{VAR1} and {VAR1}",
                  "none",
                  -1,
                  -1,
                  {{Severity::Error, Check::Variables, "{VAR1} missing 2 times"}}},
        CheckCase{"chocobo tags swapped",
                  "{CHOCOBO NAME} is {CHOCOBO SEX}.",
                  "{CHOCOBO SEX}: {CHOCOBO 1 NAME}",
                  -1,
                  -1,
                  {{Severity::Error, Check::Variables, "{CHOCOBO NAME} missing"},
                   {Severity::Error, Check::Variables, "{CHOCOBO 1 NAME} added"}}},
        CheckCase{"a placeholder moved", "%3 ok", "ok %3", -1, -1, {}},
        CheckCase{"a placeholder dropped, a name tag changed",
                  "%3 {CLOUD}",
                  "{TIFA}",
                  -1,
                  -1,
                  {{Severity::Error, Check::Variables, "%3 missing"}}}));

INSTANTIATE_TEST_SUITE_P(
    Questions, CheckTranslationTest,
    testing::Values(
        CheckCase{"a question with its lines and choices",
                  "Rest?\r\n{CHOICE}Yes\r\n{CHOICE}No",
                  "Repos ?\r\n{CHOICE}Oui\r\n{CHOICE}Non",
                  1,
                  2,
                  {}},
        CheckCase{"a question with one line more",
                  "Rest?\r\n{CHOICE}Yes\r\n{CHOICE}No",
                  "Voulez-vous\r\nvous reposer ?\r\n{CHOICE}Oui\r\n{CHOICE}Non",
                  1,
                  2,
                  {{Severity::Error, Check::Question,
                    "4 lines, the original 3 (the ASK opcode's choices: lines 2 to 3)"}}},
        CheckCase{"a question that lost a {CHOICE} tag",
                  "Rest?\r\n{CHOICE}Yes\r\n{CHOICE}No",
                  "Repos ?\r\n{CHOICE}Oui\r\nNon",
                  1,
                  2,
                  {{Severity::Error, Check::Question, "1 {CHOICE} tag, the original 2"}}},
        CheckCase{"a line more in a text that no ASK shows",
                  "Rest?\r\n{CHOICE}Yes\r\n{CHOICE}No",
                  "Voulez-vous\r\nvous reposer ?\r\n{CHOICE}Oui\r\n{CHOICE}Non",
                  -1,
                  -1,
                  {}}));

INSTANTIATE_TEST_SUITE_P(
    EmptyTexts, CheckTranslationTest,
    testing::Values(
        CheckCase{"an empty text says only that",
                  "It's {VAR1} gil.",
                  "",
                  -1,
                  -1,
                  {{Severity::Error, Check::Empty, "empty, the original is not"}}},
        CheckCase{"a text where the original is empty", "", "Hello", -1, -1, {}},
        CheckCase{"a space is not empty", " ", "  ", -1, -1,
                  {{Severity::Warning, Check::Spaces,
                    "line 1 starts with 2 spaces, in the original with 1"}}}));

INSTANTIATE_TEST_SUITE_P(
    Warnings, CheckTranslationTest,
    testing::Values(
        CheckCase{"pages kept", "A\r\n{NEW PAGE}\r\nB", "C\r\n{NEW PAGE}\r\nD", -1, -1, {}},
        CheckCase{"a page added",
                  "A",
                  "C\r\n{NEW PAGE}\r\nD",
                  -1,
                  -1,
                  {{Severity::Warning, Check::Pages, "2 pages, the original 1"}}},
        CheckCase{"a trailing space added",
                  "Hello",
                  "Bonjour ",
                  -1,
                  -1,
                  {{Severity::Warning, Check::Spaces,
                    "line 1 ends with 1 space, in the original with 0"}}},
        CheckCase{"indents kept", "\"Hi\r\n  there\"", "\"Salut\r\n  toi\"", -1, -1, {}},
        CheckCase{"an indent lost, on a line the original has",
                  "\"Hi\r\n  there\"",
                  "\"Salut\r\n toi\r\n  encore\"",
                  -1,
                  -1,
                  {{Severity::Warning, Check::Spaces,
                    "line 2 starts with 1 space, in the original with 2"}}},
        CheckCase{"a double space the original has", "Yes.  No.", "Oui.  Non.", -1, -1, {}},
        CheckCase{"a double space the original does not have",
                  "Yes. No.",
                  "Oui.  Non.",
                  -1,
                  -1,
                  {{Severity::Warning, Check::DoubleSpace, "1 double space, the original 0"}}},
        CheckCase{"every finding in order",
                  "It's {VAR1} gil.\r\n{CHOICE}Yes\r\n{CHOICE}No",
                  "C'est  gratuit. \r\n{CHOICE}Oui\r\n{CHOICE}Non\r\n{NEW PAGE}\r\nVoil\xE0",
                  0,
                  1,
                  {kVar1Missing,
                   {Severity::Error, Check::Question,
                    "5 lines, the original 3 (the ASK opcode's choices: lines 1 to 2)"},
                   {Severity::Warning, Check::Pages, "2 pages, the original 1"},
                   {Severity::Warning, Check::Spaces,
                    "line 1 ends with 1 space, in the original with 0"},
                   {Severity::Warning, Check::DoubleSpace,
                    "1 double space, the original 0"}}}));

TEST(FindingsTest, NamesAndErrors) {
    EXPECT_EQ(translation::SeverityName(Severity::Error), "error");
    EXPECT_EQ(translation::SeverityName(Severity::Warning), "warning");
    EXPECT_EQ(translation::CheckName(Check::DoubleSpace), "double-space");
    EXPECT_EQ(translation::CheckName(Check::Question), "question");
    EXPECT_FALSE(translation::HasError({{Severity::Warning, Check::Spaces, "x"}}));
    EXPECT_TRUE(translation::HasError(
        {{Severity::Warning, Check::Spaces, "x"}, {Severity::Error, Check::Empty, "y"}}));
}

}  // namespace
