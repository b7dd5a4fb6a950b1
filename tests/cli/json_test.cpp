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
        access(ParseJson(json));
    } catch (const InputError& error) {
        return error.what();
    }
    return "no error";
}

std::string ParseError(const std::string& json) {
    return ErrorOf(json, [](const JsonValue&) {});
}

TEST(JsonTest, ReadsEveryKindWithItsPlace) {
    const JsonValue root = ParseJson(
        "\xEF\xBB\xBF{\"a\": [true, false, null, -12.5e+3, 0],\n"
        "  \"b\": {\"c\": \"d\"}, \"\": []}");
    ASSERT_EQ(root.kind, JsonValue::Kind::Object);
    ASSERT_EQ(root.members.size(), 3u);
    EXPECT_EQ(root.members[0].first, "a");
    EXPECT_EQ(root.members[2].first, "");
    const std::vector<JsonValue>& a = root.Member("a").Array();
    ASSERT_EQ(a.size(), 5u);
    EXPECT_EQ(a[0].kind, JsonValue::Kind::Boolean);
    EXPECT_TRUE(a[0].boolean);
    EXPECT_FALSE(a[1].boolean);
    EXPECT_EQ(a[2].kind, JsonValue::Kind::Null);
    EXPECT_EQ(a[3].kind, JsonValue::Kind::Number);
    EXPECT_EQ(a[3].text, "-12.5e+3");
    EXPECT_EQ(a[4].Integer("n", 0, 0), 0);
    const JsonValue& c = root.Member("b").Member("c");
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
        EXPECT_EQ(ParseJson(row.json).String(), row.value) << row.json;
    }
}

TEST(JsonTest, ReportsTheFirstFaultWithItsPlace) {
    struct Row {
        std::string json;
        const char* error;
    };
    const Row rows[] = {
        {"", "1:1: expected a value, found end of file"},
        {"  \n", "2:1: expected a value, found end of file"},
        {"{\"a\": 1,}", "1:9: expected a key string, found character '}'"},
        {"{\"a\" 1}", "1:6: expected ':', found character '1'"},
        {"{\"a\": 1", "1:8: expected ',' or '}', found end of file"},
        {"[1 2]", "1:4: expected ',' or ']', found character '2'"},
        {"[1,\n  ]", "2:3: expected a value, found character ']'"},
        {"[\"\u00e9\", ]", "1:7: expected a value, found character ']'"},
        {"[1]\n x", "2:2: unexpected character 'x' after the value"},
        {"01", "1:2: unexpected character '1' after the value"},
        {"-", "1:2: expected a digit, found end of file"},
        {"1.", "1:3: expected a digit, found end of file"},
        {"1e+", "1:4: expected a digit, found end of file"},
        {"tru", "1:1: expected a value, found character 't'"},
        {"\x01", "1:1: expected a value, found byte 0x01"},
        {"\"abc", "1:5: string not closed before the end of file"},
        {"\"abc\\", "1:6: string not closed before the end of file"},
        {"\"a\nb\"", "1:3: control character in a string; write it as an escape such as \\n"},
        {"\"\\x\"", "1:3: unknown escape \\x"},
        {"\"\\u12g4\"", "1:6: expected a hexadecimal digit, found character 'g'"},
        {"\"ab\\ud800\"", "1:4: high surrogate without its pair"},
        {"\"\\ud800\\u0041\"", "1:2: high surrogate without its pair"},
        {"\"\\udc00\"", "1:2: lone low surrogate in a \\u escape"},
        {"{\"a\": 1,\n \"a\": 2}", "2:2: key \"a\" repeated"},
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
        std::function<void(const JsonValue&)> access;
        const char* error;
    };
    const auto x = [](const JsonValue& v) { v.Member("x").Integer("x", -32768, 32767); };
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
        {"{}", [](const JsonValue& v) { v.Array(); }, "1:1: expected an array, found an object"},
        {"null", [](const JsonValue& v) { v.String(); }, "1:1: expected a string, found null"},
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
        const std::string literal = JsonString(text);
        EXPECT_EQ(literal.find_first_of("\n\r\t"), std::string::npos);
        EXPECT_EQ(ParseJson(literal).String(), text) << literal;
    }
    EXPECT_EQ(JsonString("a\"\\\x1f"), "\"a\\\"\\\\\\u001f\"");
}

}  // namespace
