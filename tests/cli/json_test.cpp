#include "cli/json.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "cli/input_error.h"

namespace {

// The message of the InputError that parsing (or `access`) throws, or "no error".
template <typename Access>
std::string ErrorOf(const std::string& json, Access access) {
    try {
        access(cli::ParseJson(json));
    } catch (const cli::InputError& error) {
        return error.what();
    }
    return "no error";
}

std::string ParseError(const std::string& json) {
    return ErrorOf(json, [](const cli::JsonValue&) {});
}

TEST(JsonTest, ReadsEveryKindWithItsPlace) {
    const cli::JsonValue root = cli::ParseJson(
        "\xEF\xBB\xBF{\"a\": [true, false, null, -12.5e+3, 0],\n"
        "  \"b\": {\"c\": \"d\"}, \"\": []}");
    ASSERT_EQ(root.kind, cli::JsonValue::Kind::Object);
    ASSERT_EQ(root.members.size(), 3u);
    EXPECT_EQ(root.members[0].key, "a");
    EXPECT_EQ(root.members[2].key, "");
    const std::vector<cli::JsonValue>& a = root.Member("a").Array();
    ASSERT_EQ(a.size(), 5u);
    EXPECT_EQ(a[0].kind, cli::JsonValue::Kind::Boolean);
    EXPECT_TRUE(a[0].boolean);
    EXPECT_FALSE(a[1].boolean);
    EXPECT_EQ(a[2].kind, cli::JsonValue::Kind::Null);
    EXPECT_EQ(a[3].kind, cli::JsonValue::Kind::Number);
    EXPECT_EQ(a[3].text, "-12.5e+3");
    EXPECT_EQ(a[4].Integer("n", 0, 0), 0);
    const cli::JsonValue& c = root.Member("b").Member("c");
    EXPECT_EQ(c.String(), "d");
    EXPECT_EQ(c.line, 2);
    EXPECT_EQ(c.column, 14);
    EXPECT_EQ(root.Find("missing"), nullptr);
}

TEST(JsonTest, DecodesStringEscapes) {
    struct Row {
        const char* json;
        std::string value;
    };
    const Row rows[] = {
        {R"("")", ""},
        {R"("a\"b\\c\/d")", "a\"b\\c/d"},
        {R"("\b\f\n\r\t")", "\b\f\n\r\t"},
        {R"("\u0041\u00e9\u20AC")", "A\u00e9\u20ac"},
        {R"("\u0000x")", std::string("\0x", 2)},
        {R"("\ud83d\ude00")", "\U0001F600"},
        {"\"\u00e9\U0001F600\"", "\u00e9\U0001F600"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(cli::ParseJson(row.json).String(), row.value) << row.json;
    }
}

TEST(JsonTest, ReportsTheFirstFaultWithItsPlace) {
    struct Row {
        std::string json;
        const char* error;
    };
    const Row rows[] = {
        {"",
         "1:1: syntax error while parsing value - unexpected end of input; expected '[', '{', or a "
         "literal"},
        {"  \n",
         "2:1: syntax error while parsing value - unexpected end of input; expected '[', '{', or a "
         "literal"},
        {"{\"a\": 1,}",
         "1:9: syntax error while parsing object key - unexpected '}'; expected string literal"},
        {"{\"a\" 1}",
         "1:6: syntax error while parsing object separator - unexpected number literal; expected "
         "':'"},
        {"{\"a\": 1",
         "1:8: syntax error while parsing object - unexpected end of input; expected '}'"},
        {"{\"a\": 1 \"bc\": 2}",
         "1:9: syntax error while parsing object - unexpected string literal; expected '}'"},
        {"[1 22]",
         "1:4: syntax error while parsing array - unexpected number literal; expected ']'"},
        {"[1}", "1:3: syntax error while parsing array - unexpected '}'; expected ']'"},
        {"[true false]",
         "1:7: syntax error while parsing array - unexpected false literal; expected ']'"},
        {"[1,\n  ]",
         "2:3: syntax error while parsing value - unexpected ']'; expected '[', '{', or a literal"},
        {"[\"\u00e9\", ]",
         "1:7: syntax error while parsing value - unexpected ']'; expected '[', '{', or a literal"},
        {"[1]\n x",
         "2:2: syntax error while parsing value - invalid literal; expected end of input"},
        {"01",
         "1:2: syntax error while parsing value - unexpected number literal; expected end of "
         "input"},
        {"-", "1:2: syntax error while parsing value - invalid number; expected digit after '-'"},
        {"1.", "1:3: syntax error while parsing value - invalid number; expected digit after '.'"},
        {"1e+",
         "1:4: syntax error while parsing value - invalid number; expected digit after exponent "
         "sign"},
        {"[1e999]", "1:2: number overflow parsing '1e999'"},
        {"tru", "1:1: syntax error while parsing value - invalid literal"},
        {"\x01", "1:1: syntax error while parsing value - invalid literal"},
        {"\"abc", "1:5: syntax error while parsing value - invalid string: missing closing quote"},
        {"\"abc\\",
         "1:6: syntax error while parsing value - invalid string: forbidden character after "
         "backslash"},
        {"\"a\nb\"",
         "1:3: syntax error while parsing value - invalid string: control character U+000A (LF) "
         "must be escaped to \\u000A or \\n"},
        {"\"\\x\"",
         "1:3: syntax error while parsing value - invalid string: forbidden character after "
         "backslash"},
        {"\"\\u12g4\"",
         "1:6: syntax error while parsing value - invalid string: '\\u' must be followed by 4 hex "
         "digits"},
        {"\"ab\\ud800\"",
         "1:10: syntax error while parsing value - invalid string: surrogate U+D800..U+DBFF must "
         "be followed by U+DC00..U+DFFF"},
        {"\"\\udc00\"",
         "1:7: syntax error while parsing value - invalid string: surrogate U+DC00..U+DFFF must "
         "follow U+D800..U+DBFF"},
        {"[\"\u00e9\xff\"]",
         "1:4: syntax error while parsing value - invalid string: ill-formed UTF-8 byte"},
        {"{\"a\": 1,\n \"a\": 2}", "2:2: key \"a\" repeated"},
        {"{\"a\": {\"b\": 1}, \"b\": {\"b\": 2, \"b\": 3}}", "1:31: key \"b\" repeated"},
        {std::string(101, '[') + std::string(101, ']'), "1:101: nesting deeper than 100"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(ParseError(row.json), row.error) << testing::PrintToString(row.json);
    }
    EXPECT_EQ(ParseError(std::string(100, '[') + std::string(100, ']')), "no error");
}

TEST(JsonTest, CheckedAccessNamesWhatIsWrongAndWhere) {
    struct Row {
        std::string json;
        std::function<void(const cli::JsonValue&)> access;
        const char* error;
    };
    const auto x = [](const cli::JsonValue& v) { v.Member("x").Integer("x", -32768, 32767); };
    const Row rows[] = {
        {"{\"x\": -32768}", x, "no error"},
        {"{\"x\": 32767}", x, "no error"},
        {"{\"x\": 32768}", x, "1:7: x must be from -32768 to 32767, not 32768"},
        {"{\"x\": -99999999999999999999}", x,
         "1:7: x must be from -32768 to 32767, not -99999999999999999999"},
        {"{\"x\": 1.0}", x, "1:7: x must be a whole number from -32768 to 32767, not 1.0"},
        {"{\"x\": 1e2}", x, "1:7: x must be a whole number from -32768 to 32767, not 1e2"},
        {"{\"x\": \"1\"}", x, "1:7: expected a number, found a string"},
        {"\n  {\"y\": 1}", x, "2:3: missing \"x\" in this object"},
        {"[]", x, "1:1: expected an object, found an array"},
        {"{}", [](const cli::JsonValue& v) { v.Array(); },
         "1:1: expected an array, found an object"},
        {"null", [](const cli::JsonValue& v) { v.String(); }, "1:1: expected a string, found null"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(ErrorOf(row.json, row.access), row.error) << row.json;
    }
}

TEST(JsonTest, WrittenStringsReadBackTheSame) {
    std::string everyByte;
    for (int c = 1; c < 0x80; ++c) everyByte += static_cast<char>(c);
    const std::string texts[] = {"", everyByte, std::string("a\0b", 3), "\u00e9\u20ac\U0001F600",
                                 "{CLOUD}\r\n\"Hi\"\t\\"};
    for (const std::string& text : texts) {
        const std::string literal = cli::JsonString(text);
        EXPECT_EQ(literal.find_first_of("\n\r\t"), std::string::npos);
        EXPECT_EQ(cli::ParseJson(literal).String(), text) << literal;
    }
    EXPECT_EQ(cli::JsonString("a\"\\\x1f"), "\"a\\\"\\\\\\u001f\"");
}

}  // namespace
