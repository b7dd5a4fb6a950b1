#include "cli/po_file.h"

#include <algorithm>
#include <cctype>

#include "cli/input_error.h"

namespace cli {

namespace {

// Column (from 1, in characters) of byte `offset` of a UTF-8 line.
int ColumnOf(std::string_view line, std::size_t offset) {
    int column = 1;
    for (std::size_t i = 0; i < offset && i < line.size(); ++i) {
        if ((static_cast<unsigned char>(line[i]) & 0xC0) != 0x80) ++column;
    }
    return column;
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

class PoReader {
public:
    explicit PoReader(std::string_view text) : text_(text) {
        if (text_.starts_with("\xEF\xBB\xBF")) text_.remove_prefix(3);
    }

    std::vector<PoEntry> Entries() {
        std::size_t start = 0;
        while (start < text_.size()) {
            std::size_t end = text_.find('\n', start);
            if (end == std::string_view::npos) end = text_.size();
            ++lineNumber_;
            line_ = text_.substr(start, end - start);
            Line();
            start = end + 1;
        }
        if (field_ != nullptr && !hasStr_) {
            throw InputError(entry_.line, entry_.column, "entry without msgstr");
        }
        Finish();
        for (const PoEntry& entry : entries_) {
            if (!entry.hasContext && entry.id.empty()) CheckCharset(entry);
        }
        return std::move(entries_);
    }

private:
    [[noreturn]] void Fail(std::size_t offset, const std::string& message) const {
        throw InputError(lineNumber_, ColumnOf(line_, offset), message);
    }

    void Line() {
        std::size_t i = 0;
        while (i < line_.size() && IsSpace(line_[i])) ++i;
        if (i == line_.size()) return;
        if (line_[i] == '#') {
            Comment(i);
        } else if (line_[i] == '"') {
            if (field_ == nullptr) Fail(i, "string without a keyword before it");
            *field_ += String(i);
        } else {
            Keyword(i);
        }
    }

    void Comment(std::size_t i) {
        if (field_ != nullptr && !hasStr_) Fail(i, "comment inside an entry, before its msgstr");
        Finish();
        if (line_.substr(i).starts_with("#,")) {
            const std::string_view flags = line_.substr(i + 2);
            std::size_t pos = 0;
            while (pos < flags.size()) {
                const std::size_t comma = std::min(flags.find(',', pos), flags.size());
                std::string_view flag = flags.substr(pos, comma - pos);
                while (!flag.empty() && IsSpace(flag.front())) flag.remove_prefix(1);
                while (!flag.empty() && IsSpace(flag.back())) flag.remove_suffix(1);
                if (flag == "fuzzy") fuzzy_ = true;
                pos = comma + 1;
            }
        }
    }

    void Keyword(std::size_t i) {
        std::size_t end = i;
        while (end < line_.size() && !IsSpace(line_[end]) && line_[end] != '"') ++end;
        const std::string_view keyword = line_.substr(i, end - i);
        std::size_t quote = end;
        while (quote < line_.size() && IsSpace(line_[quote])) ++quote;
        const bool open = field_ != nullptr && !hasStr_;
        if (keyword == "msgctxt") {
            if (open) Fail(i, "msgctxt inside an entry, before its msgstr");
            Start(i);
            entry_.hasContext = true;
            field_ = &entry_.context;
        } else if (keyword == "msgid") {
            if (open && field_ != &entry_.context) Fail(i, "second msgid before a msgstr");
            if (!open) Start(i);
            field_ = &entry_.id;
        } else if (keyword == "msgstr") {
            if (field_ != &entry_.id) Fail(i, "msgstr without a msgid before it");
            hasStr_ = true;
            entry_.strLine = lineNumber_;
            entry_.strColumn = ColumnOf(line_, quote);
            field_ = &entry_.str;
        } else if (keyword == "msgid_plural" || keyword.starts_with("msgstr[")) {
            Fail(i, "plural forms are not supported");
        } else {
            Fail(i, "expected msgctxt, msgid, msgstr, a string or a comment");
        }
        if (quote >= line_.size() || line_[quote] != '"') {
            Fail(quote, "expected a string after " + std::string(keyword));
        }
        *field_ = String(quote);
    }

    // Ends the entry read so far, and begins a new one at byte i of the current line.
    void Start(std::size_t i) {
        Finish();
        entry_ = PoEntry();
        entry_.line = lineNumber_;
        entry_.column = ColumnOf(line_, i);
        entry_.fuzzy = fuzzy_;
        fuzzy_ = false;
    }

    // Keeps the entry read so far, if it is complete: called only outside an open entry.
    void Finish() {
        if (hasStr_) entries_.push_back(std::move(entry_));
        field_ = nullptr;
        hasStr_ = false;
    }

    // The quoted string that starts at byte i of the current line, which must end with it.
    std::string String(std::size_t i) {
        std::string out;
        ++i;
        for (;;) {
            if (i >= line_.size()) Fail(i, "string not closed on its line");
            const char c = line_[i];
            if (c == '"') break;
            if (c != '\\') {
                out += c;
                ++i;
                continue;
            }
            const std::size_t escapeStart = i;
            if (++i >= line_.size()) Fail(i, "string not closed on its line");
            const char escape = line_[i];
            static const std::string_view kNamed = "\"\"\\\\a\ab\bf\fn\nr\rt\tv\v";
            std::size_t named = std::string_view::npos;
            for (std::size_t k = 0; k < kNamed.size(); k += 2) {
                if (kNamed[k] == escape) named = k;
            }
            if (named != std::string_view::npos) {
                out += kNamed[named + 1];
                ++i;
            } else if (escape >= '0' && escape <= '7') {
                int value = 0;
                for (int digits = 0;
                     digits < 3 && i < line_.size() && line_[i] >= '0' && line_[i] <= '7';
                     ++digits, ++i) {
                    value = value * 8 + (line_[i] - '0');
                }
                if (value > 0xFF) Fail(escapeStart, "octal escape above \\377");
                out += static_cast<char>(value);
            } else {
                Fail(escapeStart, "unknown escape \\" + std::string(1, escape));
            }
        }
        for (std::size_t rest = i + 1; rest < line_.size(); ++rest) {
            if (!IsSpace(line_[rest])) Fail(rest, "unexpected text after the string");
        }
        return out;
    }

    static void CheckCharset(const PoEntry& header) {
        const std::string lower = Lower(header.str);
        const std::size_t at = lower.find("charset=");
        if (at == std::string::npos) return;
        const std::size_t start = at + 8;
        std::size_t end = start;
        while (end < lower.size() && !std::isspace(static_cast<unsigned char>(lower[end])) &&
               lower[end] != ';') {
            ++end;
        }
        const std::string charset = lower.substr(start, end - start);
        // "CHARSET" is the placeholder of a fresh template, and ASCII is a subset of UTF-8.
        if (charset == "utf-8" || charset == "charset" || charset == "ascii") return;
        throw InputError(header.strLine, header.strColumn,
                         "the file's charset is " + header.str.substr(start, end - start) +
                             "; only UTF-8 files are read");
    }

    std::string_view text_;
    std::string_view line_;
    int lineNumber_ = 0;
    std::vector<PoEntry> entries_;
    PoEntry entry_;
    // The string that continuation lines extend; null between entries.
    std::string* field_ = nullptr;
    bool hasStr_ = false;
    bool fuzzy_ = false;
};

}  // namespace

std::vector<PoEntry> ParsePo(std::string_view text) { return PoReader(text).Entries(); }

std::string PoField(std::string_view keyword, std::string_view utf8) {
    std::vector<std::string> lines(1);
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        std::string& out = lines.back();
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\a':
                out += "\\a";
                break;
            case '\b':
                out += "\\b";
                break;
            case '\f':
                out += "\\f";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\v':
                out += "\\v";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    out += '\\';
                    out += static_cast<char>('0' + ((c >> 6) & 7));
                    out += static_cast<char>('0' + ((c >> 3) & 7));
                    out += static_cast<char>('0' + (c & 7));
                } else {
                    out += c;
                }
        }
        if (c == '\n' && i + 1 < utf8.size()) lines.emplace_back();
    }
    std::string field(keyword);
    if (lines.size() == 1) return field + " \"" + lines[0] + "\"\n";
    field += " \"\"\n";
    for (const std::string& line : lines) field += "\"" + line + "\"\n";
    return field;
}

}  // namespace cli
