#include "cli/json.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <set>

#include <nlohmann/json.hpp>

#include "cli/input_error.h"

namespace cli {

namespace {

// Deeper documents are surely not ours, and their values are freed recursively.
constexpr std::size_t kMaxDepth = 100;

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

struct Place {
    std::size_t offset = 0;
    int line = 1;
    int column = 1;
};

// Follows the bytes that the JSON reader takes, one at a time and in order, and keeps where
// the latest string, the latest bare word (number or literal) and the latest byte began: the
// reader reports values without their places. The reader takes one byte past a number before
// it reports the number; in well-formed JSON that byte is a space or punctuation, which starts
// no word.
class PlaceTracker {
public:
    explicit PlaceTracker(std::string_view text) : text_(text) {}

    void Take(std::size_t offset) {
        const char c = text_[offset];
        last_ = next_;
        if (inString_) {
            if (escaped_) {
                escaped_ = false;
            } else if (c == '\\') {
                escaped_ = true;
            } else if (c == '"') {
                inString_ = false;
            }
        } else if (c == '"') {
            inString_ = true;
            string_ = next_;
            inWord_ = false;
        } else if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == ',' || c == ':' ||
                   c == '[' || c == ']' || c == '{' || c == '}') {
            inWord_ = false;
        } else if (!inWord_) {
            inWord_ = true;
            word_ = next_;
        }
        Step(next_, c);
    }

    const Place& String() const { return string_; }
    const Place& Word() const { return word_; }
    const Place& Last() const { return last_; }

    // Where the byte at `offset` (the text's size for its end) stands.
    Place At(std::size_t offset) const {
        Place place;
        while (place.offset < offset && place.offset < text_.size()) {
            Step(place, text_[place.offset]);
        }
        return place;
    }

private:
    // Moves a place past the byte c; UTF-8 continuation bytes belong to the character
    // already counted.
    static void Step(Place& place, char c) {
        ++place.offset;
        if (c == '\n') {
            ++place.line;
            place.column = 1;
        } else if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
            ++place.column;
        }
    }

    std::string_view text_;
    Place next_;
    Place last_;
    Place string_;
    Place word_;
    bool inString_ = false;
    bool escaped_ = false;
    bool inWord_ = false;
};

// Hands the text to the JSON reader byte by byte, telling the tracker of each.
class TrackingIterator {
public:
    using iterator_category = std::input_iterator_tag;
    using value_type = char;
    using difference_type = std::ptrdiff_t;
    using pointer = const char*;
    using reference = const char&;

    TrackingIterator(std::string_view text, std::size_t offset, PlaceTracker* tracker)
        : text_(text), offset_(offset), tracker_(tracker) {}

    reference operator*() const { return text_[offset_]; }
    TrackingIterator& operator++() {
        tracker_->Take(offset_++);
        return *this;
    }
    TrackingIterator operator++(int) {
        TrackingIterator before = *this;
        ++*this;
        return before;
    }
    bool operator==(const TrackingIterator& other) const { return offset_ == other.offset_; }
    bool operator!=(const TrackingIterator& other) const { return offset_ != other.offset_; }

private:
    std::string_view text_;
    std::size_t offset_;
    PlaceTracker* tracker_;
};

// Builds the value tree from the reader's events, each value with its place, and refuses a
// key repeated in one object and nesting deeper than kMaxDepth.
class TreeBuilder : public nlohmann::json_sax<nlohmann::json> {
public:
    TreeBuilder(std::string_view text, const PlaceTracker& tracker)
        : text_(text), tracker_(tracker) {}

    JsonValue TakeRoot() { return std::move(root_); }

    bool null() override {
        Add(JsonValue::Kind::Null, tracker_.Word());
        return true;
    }
    bool boolean(bool value) override {
        Add(JsonValue::Kind::Boolean, tracker_.Word()).boolean = value;
        return true;
    }
    bool number_integer(number_integer_t) override { return Number(); }
    bool number_unsigned(number_unsigned_t) override { return Number(); }
    bool number_float(number_float_t, const string_t&) override { return Number(); }
    bool string(string_t& value) override {
        Add(JsonValue::Kind::String, tracker_.String()).text = std::move(value);
        return true;
    }
    bool binary(binary_t&) override { return false; }
    bool start_object(std::size_t) override {
        Open(JsonValue::Kind::Object);
        return true;
    }
    bool key(string_t& key) override {
        if (!keys_.back().insert(key).second) {
            const Place& place = tracker_.String();
            throw InputError(place.line, place.column, "key \"" + key + "\" repeated");
        }
        key_ = std::move(key);
        return true;
    }
    bool end_object() override {
        keys_.pop_back();
        open_.pop_back();
        return true;
    }
    bool start_array(std::size_t) override {
        Open(JsonValue::Kind::Array);
        return true;
    }
    bool end_array() override {
        open_.pop_back();
        return true;
    }

    bool parse_error(std::size_t position, const std::string& lastToken,
                     const nlohmann::detail::exception& error) override {
        const Place place = tracker_.At(ErrorOffset(position, lastToken, error.what()));
        throw InputError(place.line, place.column, Message(error.what()));
    }

private:
    static constexpr std::string_view kLastRead = "; last read: '";

    // Where the reader's error lies: a malformed string or number where reading stopped, an
    // unexpected whole token where it begins. `position` counts the bytes read, the end of the
    // input as one, those looked at past a number not included.
    std::size_t ErrorOffset(std::size_t position, const std::string& lastToken,
                            std::string_view what) const {
        const std::size_t end = position > 0 ? position - 1 : 0;
        if (what.find(kLastRead) != std::string_view::npos) {
            // A word that is no literal (tru, x) is best shown from its start.
            return what.find("invalid literal") != std::string_view::npos ? tracker_.Word().offset
                                                                          : end;
        }
        if (end >= text_.size()) return end;
        const char c = text_[end];
        if (c == '"') return tracker_.String().offset;
        // The reader's token text is exact for numbers only: it gathers more for the others.
        if (c >= '0' && c <= '9' && lastToken.size() <= end + 1) return end + 1 - lastToken.size();
        if (c >= 'a' && c <= 'z') return tracker_.Word().offset;
        return end;
    }

    // The reader's message without its tag, its own place (counted in bytes, not characters)
    // and what it last read (which for a word may be more than the word).
    static std::string Message(std::string_view what) {
        if (const std::size_t tag = what.find("] ");
            what.starts_with("[") && tag != std::string_view::npos) {
            what.remove_prefix(tag + 2);
        }
        if (what.starts_with("parse error")) {
            if (const std::size_t colon = what.find(": "); colon != std::string_view::npos) {
                what.remove_prefix(colon + 2);
            }
        }
        std::string message(what);
        if (const std::size_t read = message.find(kLastRead); read != std::string::npos) {
            const std::size_t expected = message.rfind("'; expected ");
            message.erase(read, expected != std::string::npos && expected >= read + kLastRead.size()
                                    ? expected + 1 - read
                                    : std::string::npos);
        }
        return message;
    }

    bool Number() {
        // The literal as written: the reader's integer and float values lose how it was spelt.
        const Place& place = tracker_.Word();
        const std::size_t end = text_.find_first_not_of("0123456789+-.eE", place.offset);
        Add(JsonValue::Kind::Number, place).text =
            std::string(text_.substr(place.offset, end - place.offset));
        return true;
    }

    JsonValue& Add(JsonValue::Kind kind, const Place& place) {
        JsonValue* value = &root_;
        if (!open_.empty()) {
            JsonValue& parent = *open_.back();
            if (parent.kind == JsonValue::Kind::Array) {
                value = &parent.items.emplace_back();
            } else {
                value = &parent.members.emplace_back(JsonMember{std::move(key_), {}}).value;
            }
        }
        value->kind = kind;
        value->line = place.line;
        value->column = place.column;
        return *value;
    }

    void Open(JsonValue::Kind kind) {
        const Place& place = tracker_.Last();
        if (open_.size() >= kMaxDepth) {
            throw InputError(place.line, place.column,
                             "nesting deeper than " + std::to_string(kMaxDepth));
        }
        JsonValue& value = Add(kind, place);
        open_.push_back(&value);
        if (kind == JsonValue::Kind::Object) keys_.emplace_back();
    }

    std::string_view text_;
    const PlaceTracker& tracker_;
    JsonValue root_;
    // The arrays and objects not yet closed, innermost last; only the innermost grows, so
    // the pointers stay valid.
    std::vector<JsonValue*> open_;
    // The keys of each object not yet closed.
    std::vector<std::set<std::string>> keys_;
    std::string key_;
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
    for (const JsonMember& member : members) {
        if (member.key == key) return &member.value;
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

JsonValue ParseJson(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    PlaceTracker tracker(text);
    TreeBuilder builder(text, tracker);
    nlohmann::json::sax_parse(TrackingIterator(text, 0, &tracker),
                              TrackingIterator(text, text.size(), &tracker), &builder);
    return builder.TakeRoot();
}

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

}  // namespace cli
