#include "cli/archive_edits.h"

#include <charconv>
#include <limits>
#include <map>
#include <set>
#include <utility>

#include "cli/exchange_levels.h"
#include "cli/input_error.h"
#include "cli/json.h"
#include "cli/po_file.h"
#include "text/text_decoder.h"
#include "text/text_encoder.h"
#include "text/windows1252.h"

namespace {

// Reads the edits of one file, checking each against the archive as it comes.
class EditReader {
public:
    explicit EditReader(const TLGPFile& archive) : archive_(archive) {
        for (const int index : ExchangeLevels(archive)) {
            levels_.emplace(archive.SubFile(index).Name, index);
        }
    }

    // The table index of the named level.
    int Level(std::string_view name, int line, int column) {
        const auto found = levels_.find(name);
        if (found == levels_.end()) {
            throw InputError(line, column, "the archive has no level named " + std::string(name));
        }
        return found->second;
    }

    // Checks that the level's text `number` (from 1) exists and was not given before.
    void CheckText(int level, std::int64_t number, int line, int column) {
        const TLGPSubFile& subFile = archive_.SubFile(level);
        if (number < 1 || static_cast<std::uint64_t>(number) > subFile.Texts.size()) {
            throw InputError(line, column,
                             "text " + std::to_string(number) + " out of range: level " +
                                 subFile.Name + " has " + std::to_string(subFile.Texts.size()) +
                                 " texts");
        }
        if (!texts_.emplace(level, number).second) {
            throw InputError(
                line, column,
                "text " + std::to_string(number) + " of level " + subFile.Name + " given twice");
        }
    }

    // The tagged text in Windows-1252; the game cannot show what that code page lacks, and
    // replacing it silently would lose the translator's text. A line feed without its carriage
    // return, as text editors and PO tools write line breaks, becomes the notation's CR LF: on
    // its own it has no game code and would be encoded as a space.
    std::string Tagged(int level, std::int64_t number, std::string_view utf8, int line,
                       int column) const {
        const text::Windows1252Text converted = text::Utf8ToWindows1252(utf8);
        if (converted.replaced > 0) {
            throw InputError(line, column,
                             "level " + archive_.SubFile(level).Name + ", text " +
                                 std::to_string(number) +
                                 " holds characters that Windows-1252 cannot hold");
        }
        std::string tagged;
        for (std::size_t i = 0; i < converted.text.size(); ++i) {
            const char c = converted.text[i];
            if (c == '\n' && (i == 0 || converted.text[i - 1] != '\r')) tagged += '\r';
            tagged += c;
        }
        return tagged;
    }

private:
    const TLGPFile& archive_;
    std::map<std::string, int, std::less<>> levels_;
    std::set<std::pair<int, std::int64_t>> texts_;
};

constexpr std::int64_t kMaxNumber = std::numeric_limits<std::int32_t>::max();

// The decimal number that makes up the context from `start` on, or -1 when there is none.
std::int64_t TextNumber(std::string_view context, std::size_t start) {
    const std::string_view digits = context.substr(start);
    std::int64_t number = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    const bool whole = !digits.empty() && digits[0] != '-' && error == std::errc() &&
                       end == digits.data() + digits.size();
    return whole ? number : -1;
}

}  // namespace

ArchiveEdits ArchiveEdits::FromJson(const TLGPFile& archive, std::string_view json) {
    ArchiveEdits edits;
    EditReader reader(archive);
    std::set<int> levelsSeen;
    const JsonValue root = ParseJson(json);
    for (const JsonValue& levelValue : root.Member("levels").Array()) {
        const JsonValue& nameValue = levelValue.Member("name");
        const std::string& name = nameValue.String();
        const int level = reader.Level(name, nameValue.line, nameValue.column);
        if (!levelsSeen.insert(level).second) {
            throw InputError(nameValue.line, nameValue.column, "level " + name + " given twice");
        }
        if (const JsonValue* windows = levelValue.Find("windows")) {
            const std::size_t count = LevelWindows(archive.SubFile(level)).size();
            const std::vector<JsonValue>& items = windows->Array();
            for (std::size_t w = 0; w < items.size(); ++w) {
                const JsonValue& item = items[w];
                if (w >= count) {
                    throw InputError(item.line, item.column,
                                     "window " + std::to_string(w) + " out of range: level " +
                                         name + " has " + std::to_string(count) + " windows");
                }
                WindowEdit edit{level, w, 0, 0, 0, 0};
                edit.x = static_cast<std::int16_t>(item.Member("x").Integer("x", -32768, 32767));
                edit.y = static_cast<std::int16_t>(item.Member("y").Integer("y", -32768, 32767));
                edit.width =
                    static_cast<std::uint16_t>(item.Member("width").Integer("width", 0, 65535));
                edit.height =
                    static_cast<std::uint16_t>(item.Member("height").Integer("height", 0, 65535));
                edits.windows_.push_back(edit);
            }
        }
        if (const JsonValue* texts = levelValue.Find("texts")) {
            for (const JsonValue& item : texts->Array()) {
                const JsonValue& numberValue = item.Member("text");
                const std::int64_t number = numberValue.Integer("text", -kMaxNumber, kMaxNumber);
                reader.CheckText(level, number, numberValue.line, numberValue.column);
                const JsonValue& taggedValue = item.Member("tagged");
                std::string tagged = reader.Tagged(level, number, taggedValue.String(),
                                                   taggedValue.line, taggedValue.column);
                edits.texts_.push_back(
                    {level, static_cast<std::size_t>(number - 1), std::move(tagged)});
            }
        }
    }
    return edits;
}

ArchiveEdits ArchiveEdits::FromPo(const TLGPFile& archive, std::string_view po) {
    ArchiveEdits edits;
    EditReader reader(archive);
    for (const PoEntry& entry : ParsePo(po)) {
        if (!entry.hasContext && entry.id.empty()) continue;  // the header
        const std::size_t colon = entry.context.rfind(':');
        const std::int64_t number = entry.hasContext && colon != std::string::npos
                                        ? TextNumber(entry.context, colon + 1)
                                        : -1;
        if (number < 0) {
            throw InputError(entry.line, entry.column,
                             "expected msgctxt \"LEVEL:NUMBER\" naming a level and a text");
        }
        if (entry.fuzzy) continue;
        const int level = reader.Level(std::string_view(entry.context).substr(0, colon), entry.line,
                                       entry.column);
        reader.CheckText(level, number, entry.line, entry.column);
        if (entry.str.empty()) continue;
        std::string tagged =
            reader.Tagged(level, number, entry.str, entry.strLine, entry.strColumn);
        edits.texts_.push_back({level, static_cast<std::size_t>(number - 1), std::move(tagged)});
    }
    return edits;
}

ImportCounts ArchiveEdits::ApplyTo(TLGPFile& archive) const {
    ImportCounts counts;
    std::set<int> changedLevels;
    for (const TextEdit& edit : texts_) {
        TLevelText& levelText = archive.SubFile(edit.level).Texts.at(edit.text);
        if (text::DecodeText(levelText.Bytes) == edit.tagged) continue;
        std::vector<std::uint8_t> bytes = text::EncodeText(edit.tagged, true);
        if (bytes == levelText.Bytes) continue;
        levelText.Bytes = std::move(bytes);
        ++counts.texts;
        changedLevels.insert(edit.level);
    }
    for (const WindowEdit& edit : windows_) {
        TWindow& window = *LevelWindows(archive.SubFile(edit.level)).at(edit.window);
        if (window.X == edit.x && window.Y == edit.y && window.Width == edit.width &&
            window.Height == edit.height) {
            continue;
        }
        window.X = edit.x;
        window.Y = edit.y;
        window.Width = edit.width;
        window.Height = edit.height;
        ++counts.windows;
        changedLevels.insert(edit.level);
    }
    counts.levels = static_cast<int>(changedLevels.size());
    return counts;
}
