#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

struct JsonMember;

// A JSON value read from a file, with the line and column (from 1) where it starts, so that
// whoever checks its content can point at the offending place.
struct JsonValue {
    enum class Kind { Null, Boolean, Number, String, Array, Object };

    Kind kind = Kind::Null;
    int line = 1;
    int column = 1;
    bool boolean = false;
    // A string's value as UTF-8, or a number's literal as written.
    std::string text;
    std::vector<JsonValue> items;
    // In file order; no key appears twice.
    std::vector<JsonMember> members;

    // Checked access: each throws InputError at this value's position when it is not of the
    // kind asked for, naming the kind found.
    const std::vector<JsonValue>& Array() const;
    const std::string& String() const;
    // The number as an integer; throws InputError, naming the value `what`, when it is not a
    // number without fraction or exponent, or lies outside min to max.
    std::int64_t Integer(std::string_view what, std::int64_t min, std::int64_t max) const;
    // The member named key, or nullptr when there is none; throws InputError when this is not
    // an object.
    const JsonValue* Find(std::string_view key) const;
    // The member named key; throws InputError when this is not an object or has no such member.
    const JsonValue& Member(std::string_view key) const;
};

// A member of a JSON object: its key, as UTF-8, and its value.
struct JsonMember {
    std::string key;
    JsonValue value;
};

// Parses a whole JSON text (RFC 8259, UTF-8, a leading byte order mark skipped). Throws
// InputError with the line and column of the first fault: a syntax error, a control character,
// a lone surrogate or ill-formed UTF-8 in a string, a number too large for a double, a key
// repeated in one object, arrays and objects nested deeper than 100.
JsonValue ParseJson(std::string_view text);

// The UTF-8 text as a JSON string literal: quotes, backslashes and control characters escaped.
std::string JsonString(std::string_view utf8);

}  // namespace cli
