#include "cli/json.h"

#include <algorithm>
#include <charconv>

#include "cli/input_error.h"
#include "text/windows1252.h"

namespace {

// Deeper documents are surely not ours, and the recursive parser must not exhaust the stack.
constexpr int kMaxDepth = 100;

const char* KindName(JsonValue::Kind kind) {
    switch (kind) {
        case JsonValue::Kind::Null:
            return "null";
        case JsonValue::Kind::Boolean:
            return "a boolean";
        case JsonValue::Kind::Number:
            return "a number";
        case JsonValue::Kind::String:
            return "a string";
        case JsonValue::Kind::Array:
            return "an array";
        case JsonValue::Kind::Object:
            return "an object";
    }
    return "a value";
}

void ExpectKind(const JsonValue& value, JsonValue::Kind kind) {
    if (value.kind != kind) {
        throw InputError(
            value.line, value.column,
            std::string("expected ") + KindName(kind) + ", found " + KindName(value.kind));
    }
}

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {
        if (text_.starts_with("\xEF\xBB\xBF")) text_.remove_prefix(3);
    }

    JsonValue Document() {
        SkipSpace();
        JsonValue value = Value(0);
        SkipSpace();
        if (!AtEnd()) Fail("unexpected " + Describe() + " after the value");
        return value;
    }

private:
    bool AtEnd() const { return pos_ >= text_.size(); }
    char Peek() const { return AtEnd() ? '\0' : text_[pos_]; }

    void Advance() {
        if (text_[pos_] == '\n') {
            ++line_;
            column_ = 1;
        } else if ((static_cast<unsigned char>(text_[pos_]) & 0xC0) != 0x80) {
            // UTF-8 continuation bytes belong to the character already counted.
            ++column_;
        }
        ++pos_;
    }

    [[noreturn]] void Fail(const std::string& message) const {
        throw InputError(line_, column_, message);
    }

    std::string Describe() const {
        if (AtEnd()) return "end of file";
        const unsigned char c = static_cast<unsigned char>(Peek());
        if (c >= 0x20 && c < 0x7F) return std::string("character '") + static_cast<char>(c) + "'";
        static const char kHex[] = "0123456789abcdef";
        return std::string("byte 0x") + kHex[c >> 4] + kHex[c & 0xF];
    }

    void SkipSpace() {
        while (!AtEnd() && (Peek() == ' ' || Peek() == '\t' || Peek() == '\n' || Peek() == '\r')) {
            Advance();
        }
    }

    void Expect(char c) {
        if (Peek() != c || AtEnd()) Fail(std::string("expected '") + c + "', found " + Describe());
        Advance();
    }

    JsonValue Value(int depth) {
        if (depth >= kMaxDepth) Fail("nesting deeper than " + std::to_string(kMaxDepth));
        JsonValue value;
        value.line = line_;
        value.column = column_;
        switch (Peek()) {
            case '{':
                Object(value, depth);
                break;
            case '[':
                Array(value, depth);
                break;
            case '"':
                value.kind = JsonValue::Kind::String;
                value.text = String();
                break;
            case 't':
                Literal("true", value, JsonValue::Kind::Boolean, true);
                break;
            case 'f':
                Literal("false", value, JsonValue::Kind::Boolean, false);
                break;
            case 'n':
                Literal("null", value, JsonValue::Kind::Null, false);
                break;
            default:
                if (Peek() == '-' || (Peek() >= '0' && Peek() <= '9')) {
                    value.kind = JsonValue::Kind::Number;
                    value.text = Number();
                } else {
                    Fail("expected a value, found " + Describe());
                }
        }
        return value;
    }

    void Literal(std::string_view word, JsonValue& value, JsonValue::Kind kind, bool boolean) {
        if (text_.substr(pos_, word.size()) != word) Fail("expected a value, found " + Describe());
        for (std::size_t i = 0; i < word.size(); ++i) Advance();
        value.kind = kind;
        value.boolean = boolean;
    }

    void Object(JsonValue& value, int depth) {
        value.kind = JsonValue::Kind::Object;
        Advance();
        SkipSpace();
        if (Peek() == '}') {
            Advance();
            return;
        }
        for (;;) {
            if (Peek() != '"' || AtEnd()) Fail("expected a key string, found " + Describe());
            const int keyLine = line_;
            const int keyColumn = column_;
            std::string key = String();
            const bool repeated =
                std::any_of(value.members.begin(), value.members.end(),
                            [&](const auto& member) { return member.first == key; });
            if (repeated) throw InputError(keyLine, keyColumn, "key \"" + key + "\" repeated");
            SkipSpace();
            Expect(':');
            SkipSpace();
            value.members.emplace_back(std::move(key), Value(depth + 1));
            SkipSpace();
            if (Peek() == ',' && !AtEnd()) {
                Advance();
                SkipSpace();
                continue;
            }
            if (Peek() != '}' || AtEnd()) Fail("expected ',' or '}', found " + Describe());
            Advance();
            return;
        }
    }

    void Array(JsonValue& value, int depth) {
        value.kind = JsonValue::Kind::Array;
        Advance();
        SkipSpace();
        if (Peek() == ']') {
            Advance();
            return;
        }
        for (;;) {
            value.items.push_back(Value(depth + 1));
            SkipSpace();
            if (Peek() == ',' && !AtEnd()) {
                Advance();
                SkipSpace();
                continue;
            }
            if (Peek() != ']' || AtEnd()) Fail("expected ',' or ']', found " + Describe());
            Advance();
            return;
        }
    }

    std::string Number() {
        const std::size_t start = pos_;
        if (Peek() == '-') Advance();
        if (Peek() == '0') {
            Advance();
        } else {
            Digits();
        }
        if (Peek() == '.') {
            Advance();
            Digits();
        }
        if (Peek() == 'e' || Peek() == 'E') {
            Advance();
            if (Peek() == '+' || Peek() == '-') Advance();
            Digits();
        }
        return std::string(text_.substr(start, pos_ - start));
    }

    void Digits() {
        if (AtEnd() || Peek() < '0' || Peek() > '9') Fail("expected a digit, found " + Describe());
        while (!AtEnd() && Peek() >= '0' && Peek() <= '9') Advance();
    }

    std::string String() {
        Advance();
        std::string out;
        for (;;) {
            if (AtEnd()) Fail("string not closed before the end of file");
            const char c = Peek();
            if (c == '"') {
                Advance();
                return out;
            }
            if (static_cast<unsigned char>(c) < 0x20) {
                Fail("control character in a string; write it as an escape such as \\n");
            }
            if (c != '\\') {
                out += c;
                Advance();
                continue;
            }
            Advance();
            const char escape = Peek();
            switch (AtEnd() ? '\0' : escape) {
                case '"':
                    out += '"';
                    break;
                case '\\':
                    out += '\\';
                    break;
                case '/':
                    out += '/';
                    break;
                case 'b':
                    out += '\b';
                    break;
                case 'f':
                    out += '\f';
                    break;
                case 'n':
                    out += '\n';
                    break;
                case 'r':
                    out += '\r';
                    break;
                case 't':
                    out += '\t';
                    break;
                case 'u': {
                    const int line = line_;
                    const int column = column_ - 1;
                    Advance();
                    std::uint32_t codePoint = Hex4();
                    if (codePoint >= 0xDC00 && codePoint <= 0xDFFF) {
                        throw InputError(line, column, "lone low surrogate in a \\u escape");
                    }
                    if (codePoint >= 0xD800 && codePoint <= 0xDBFF) {
                        if (text_.substr(pos_, 2) != "\\u") {
                            throw InputError(line, column, "high surrogate without its pair");
                        }
                        Advance();
                        Advance();
                        const std::uint32_t low = Hex4();
                        if (low < 0xDC00 || low > 0xDFFF) {
                            throw InputError(line, column, "high surrogate without its pair");
                        }
                        codePoint = 0x10000 + ((codePoint - 0xD800) << 10) + (low - 0xDC00);
                    }
                    text::AppendUtf8(out, codePoint);
                    continue;
                }
                default:
                    Fail(AtEnd() ? "string not closed before the end of file"
                                 : "unknown escape \\" + std::string(1, escape));
            }
            Advance();
        }
    }

    std::uint32_t Hex4() {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = Peek();
            int digit = -1;
            if (c >= '0' && c <= '9') digit = c - '0';
            if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
            if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
            if (AtEnd() || digit < 0) Fail("expected a hexadecimal digit, found " + Describe());
            value = value * 16 + static_cast<std::uint32_t>(digit);
            Advance();
        }
        return value;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    int line_ = 1;
    int column_ = 1;
};

}  // namespace

const std::vector<JsonValue>& JsonValue::Array() const {
    ExpectKind(*this, Kind::Array);
    return items;
}

const std::string& JsonValue::String() const {
    ExpectKind(*this, Kind::String);
    return text;
}

std::int64_t JsonValue::Integer(std::string_view what, std::int64_t min, std::int64_t max) const {
    ExpectKind(*this, Kind::Number);
    const std::string range = " from " + std::to_string(min) + " to " + std::to_string(max);
    if (text.find_first_of(".eE") != std::string::npos) {
        throw InputError(line, column,
                         std::string(what) + " must be a whole number" + range + ", not " + text);
    }
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < min || value > max) {
        throw InputError(line, column, std::string(what) + " must be" + range + ", not " + text);
    }
    return value;
}

const JsonValue* JsonValue::Find(std::string_view key) const {
    ExpectKind(*this, Kind::Object);
    for (const auto& [name, value] : members) {
        if (name == key) return &value;
    }
    return nullptr;
}

const JsonValue& JsonValue::Member(std::string_view key) const {
    const JsonValue* value = Find(key);
    if (value == nullptr) {
        throw InputError(line, column, "missing \"" + std::string(key) + "\" in this object");
    }
    return *value;
}

JsonValue ParseJson(std::string_view text) { return Parser(text).Document(); }

std::string JsonString(std::string_view utf8) {
    std::string out = "\"";
    for (const char c : utf8) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    static const char kHex[] = "0123456789abcdef";
                    out += "\\u00";
                    out += kHex[(c >> 4) & 0xF];
                    out += kHex[c & 0xF];
                } else {
                    out += c;
                }
        }
    }
    return out + "\"";
}
