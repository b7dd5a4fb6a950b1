#include "cli/po_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/input_error.h"

namespace {

std::string ParseError(const std::string& po) {
    try {
        cli::ParsePo(po);
    } catch (const cli::InputError& error) {
        return error.what();
    }
    return "no error";
}

TEST(PoFileTest, ReadsEntriesWithTheirPlaces) {
    const std::vector<cli::PoEntry> entries = cli::ParsePo(
        "\xEF\xBB\xBF# A comment\n"
        "msgid \"\"\n"
        "msgstr \"\"\n"
        "\"Content-Type: text/plain; charset=UTF-8\\n\"\n"
        "\n"
        "#. windows: 2\n"
        "#, c-format, fuzzy\n"
        "msgctxt \"md1_1:1\"\n"
        "msgid \"\"\n"
        "\"A\\r\\n\"\n"
        "  \"B\"\n"
        "msgstr \"\u00e9\"\r\n"
        "\"x\"\n"
        "#| msgid \"old\"\n"
        "msgctxt \"md1_1:2\"\n"
        "msgid \"C\"\n"
        "msgstr \"\"\n"
        "#~ msgctxt \"gone:1\"\n"
        "#~ msgid \"gone\"\n"
        "#~ msgstr \"\"\n"
        "msgid \"no context\"\n"
        "msgstr \"\"");
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_FALSE(entries[0].hasContext);
    EXPECT_EQ(entries[0].id, "");
    EXPECT_EQ(entries[0].str, "Content-Type: text/plain; charset=UTF-8\n");
    EXPECT_FALSE(entries[0].fuzzy);

    EXPECT_TRUE(entries[1].hasContext);
    EXPECT_EQ(entries[1].context, "md1_1:1");
    EXPECT_EQ(entries[1].id, "A\r\nB");
    EXPECT_EQ(entries[1].str, "\u00e9x");
    EXPECT_TRUE(entries[1].fuzzy);
    EXPECT_EQ(entries[1].line, 8);
    EXPECT_EQ(entries[1].column, 1);
    EXPECT_EQ(entries[1].strLine, 12);
    EXPECT_EQ(entries[1].strColumn, 8);

    EXPECT_EQ(entries[2].context, "md1_1:2");
    EXPECT_EQ(entries[2].str, "");
    EXPECT_FALSE(entries[2].fuzzy);
    EXPECT_EQ(entries[2].line, 15);

    EXPECT_FALSE(entries[3].hasContext);
    EXPECT_EQ(entries[3].id, "no context");
    EXPECT_EQ(entries[3].line, 21);
}

TEST(PoFileTest, DecodesEscapes) {
    struct Row {
        const char* literal;
        std::string value;
    };
    const Row rows[] = {
        {R"("")", ""},
        {R"("\"\\")", "\"\\"},
        {R"("\a\b\f\n\r\t\v")", "\a\b\f\n\r\t\v"},
        {R"("\1\12\101\0101")",
         "\1\n"
         "A\b1"},
        {R"("\377")", "\xFF"},
    };
    for (const Row& row : rows) {
        const std::string po = std::string("msgid \"x\"\nmsgstr ") + row.literal + "\n";
        EXPECT_EQ(cli::ParsePo(po).at(0).str, row.value) << row.literal;
    }
}

TEST(PoFileTest, ReportsTheFirstFaultWithItsPlace) {
    struct Row {
        std::string po;
        const char* error;
    };
    const Row rows[] = {
        {"msgid \"a\"\n", "1:1: entry without msgstr"},
        {"msgctxt \"a\"\nmsgstr \"b\"\n", "2:1: msgstr without a msgid before it"},
        {"msgid \"a\"\nmsgid \"b\"\n", "2:1: second msgid before a msgstr"},
        {"msgid \"a\"\nmsgctxt \"b\"\n", "2:1: msgctxt inside an entry, before its msgstr"},
        {"msgid \"a\"\n# note\nmsgstr \"\"\n", "2:1: comment inside an entry, before its msgstr"},
        {"msgid \"a\"\nmsgstr \"b\"\nmsgstr \"c\"\n", "3:1: msgstr without a msgid before it"},
        {"\"a\"\n", "1:1: string without a keyword before it"},
        {"msgid \"a\"\nmsgstr \"\"\n\n  \"b\"\n", "no error"},
        {"msgid\n", "1:6: expected a string after msgid"},
        {"msgid a\n", "1:7: expected a string after msgid"},
        {"msgid \"a\nmsgstr \"\"\n", "1:9: string not closed on its line"},
        {"msgid \"a\\\"\n", "1:11: string not closed on its line"},
        {"msgid \"\u00e9\\q\"\n", "1:9: unknown escape \\q"},
        {"msgid \"\\400\"\n", "1:8: octal escape above \\377"},
        {"msgid \"a\" x\n", "1:11: unexpected text after the string"},
        {"msgid \"a\"\nmsgid_plural \"b\"\n", "2:1: plural forms are not supported"},
        {"msgid \"a\"\nmsgstr[0] \"b\"\n", "2:1: plural forms are not supported"},
        {"msgtxt \"a\"\n", "1:1: expected msgctxt, msgid, msgstr, a string or a comment"},
        {"msgid \"\"\nmsgstr \"\"\n\"Content-Type: text/plain; charset=ISO-8859-1\\n\"\n",
         "2:8: the file's charset is ISO-8859-1; only UTF-8 files are read"},
        {"msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=CHARSET\\n\"\n", "no error"},
        {"msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=utf-8\\n\"\n", "no error"},
        {"", "no error"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(ParseError(row.po), row.error) << row.po;
    }
}

TEST(PoFileTest, WritesOneLineOrOneStringPerLine) {
    struct Row {
        const char* text;
        const char* field;
    };
    const Row rows[] = {
        {"", "msgid \"\"\n"},
        {"Hi \"you\" \\ {CLOUD}\t!", "msgid \"Hi \\\"you\\\" \\\\ {CLOUD}\\t!\"\n"},
        {"one line\r\n", "msgid \"one line\\r\\n\"\n"},
        {"A\r\nB\r\n{NEW PAGE}\r\nC",
         "msgid \"\"\n\"A\\r\\n\"\n\"B\\r\\n\"\n\"{NEW PAGE}\\r\\n\"\n\"C\"\n"},
        {"\x01\x1f\a", "msgid \"\\001\\037\\a\"\n"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(cli::PoField("msgid", row.text), row.field) << row.text;
    }
}

TEST(PoFileTest, WrittenFieldsReadBackTheSame) {
    std::string everyByte;
    for (int c = 1; c < 0x80; ++c) everyByte += static_cast<char>(c);
    const std::string texts[] = {"x", everyByte, "\u00e9\u20ac\U0001F600", "A\r\n\r\nB\n", "\n\nC"};
    for (const std::string& text : texts) {
        const std::string po = cli::PoField("msgctxt", text) + cli::PoField("msgid", text) +
                               cli::PoField("msgstr", text);
        const std::vector<cli::PoEntry> entries = cli::ParsePo(po);
        ASSERT_EQ(entries.size(), 1u) << po;
        EXPECT_EQ(entries[0].context, text);
        EXPECT_EQ(entries[0].id, text);
        EXPECT_EQ(entries[0].str, text);
    }
}

}  // namespace
