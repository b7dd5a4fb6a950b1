#include "cli/archive_edits.h"

#include <charconv>
#include <cstdio>
#include <limits>
#include <map>
#include <set>
#include <utility>

#include "cli/exchange_levels.h"
#include "cli/input_error.h"
#include "cli/json.h"
#include "cli/po_file.h"
#include "lgp/printable_name.h"
#include "text/text_decoder.h"
#include "text/text_encoder.h"
#include "text/windows1252.h"

namespace cli {

namespace {

// A text of an exchange file in Windows-1252, with the number of characters in it that the
// game lacks.
struct ReadText {
    std::string tagged;
    int unknown = 0;
};

// A character of a text that the game lacks, with where it stands.
struct UnknownPlace {
    int line;
    int column;
    std::string where;
};

// "€" (U+20AC) for a character, by its number alone for a control character, and a
// placeholder as written.
std::string DescribeCharacter(std::string_view written) {
    const std::string utf8 = text::Windows1252ToUtf8(written);
    const std::string quoted = std::string(1, '"').append(utf8).append(1, '"');
    if (written.size() > 1) return quoted;
    char32_t codePoint = static_cast<unsigned char>(utf8[0]);
    if (utf8.size() > 1) {
        codePoint &= utf8.size() == 2 ? 0x1F : 0x0F;
        for (std::size_t i = 1; i < utf8.size(); ++i) {
            codePoint = (codePoint << 6) | (static_cast<unsigned char>(utf8[i]) & 0x3F);
        }
    }
    char number[16];
    std::snprintf(number, sizeof number, "U+%04X", static_cast<unsigned>(codePoint));
    const bool control = codePoint < 0x20 || (codePoint >= 0x7F && codePoint < 0xA0);
    return control ? std::string(number) : quoted + " (" + number + ")";
}

// Reads the edits of one file, checking each against the archive as it comes.
class EditReader {
public:
    EditReader(const TLGPFile& archive, bool replaceUnknown)
        : archive_(archive), replaceUnknown_(replaceUnknown) {
        for (const int index : ExchangeLevels(archive)) {
            levels_.emplace(archive.SubFile(index).Name, index);
        }
    }

    // The table index of the named level.
    int Level(std::string_view name, int line, int column) {
        const auto found = levels_.find(name);
        if (found == levels_.end()) {
            throw InputError(line, column,
                             "the archive has no level named " + lgp::PrintableName(name));
        }
        return found->second;
    }

    // True when the level could not be read: its `entries` edits are left out and counted.
    bool SkipsLevel(int level, std::size_t entries) {
        if (!archive_.SubFile(level).Unreadable) return false;
        if (entries > 0) skipped_[level] += entries;
        return true;
    }

    // Checks that the level's text `number` (from 1) exists and was not given before.
    void CheckText(int level, std::int64_t number, int line, int column) {
        const TLGPSubFile& subFile = archive_.SubFile(level);
        if (number < 1 || static_cast<std::uint64_t>(number) > subFile.Texts.size()) {
            throw InputError(line, column,
                             "text " + std::to_string(number) + " out of range: level " +
                                 lgp::PrintableName(subFile.Name) + " has " +
                                 std::to_string(subFile.Texts.size()) + " texts");
        }
        if (!texts_.emplace(level, number).second) {
            throw InputError(line, column,
                             "text " + std::to_string(number) + " of level " +
                                 lgp::PrintableName(subFile.Name) + " given twice");
        }
    }

    // The edit of the level's text `number` to `utf8`, its text in Windows-1252; the game
    // cannot show what that code page lacks, and replacing it silently would lose the
    // translator's text. A line feed without its carriage return, as text editors and PO tools
    // write line breaks, becomes the notation's CR LF: on its own it has no game code and
    // would be encoded as a space. Characters that the game lacks are noted for Finish.
    ReadText Text(int level, std::int64_t number, std::string_view utf8, int line, int column) {
        const std::string where = "level " + lgp::PrintableName(archive_.SubFile(level).Name) +
                                  ", text " + std::to_string(number);
        const text::Windows1252Text converted = text::Utf8ToWindows1252(utf8);
        if (converted.replaced > 0) {
            throw InputError(line, column,
                             where + " holds characters that Windows-1252 cannot hold");
        }
        // A text ends at its first NUL wherever the game or this program reads it.
        const std::size_t nul = converted.text.find('\0');
        if (nul != std::string::npos) {
            throw InputError(line, column,
                             where + " holds a NUL character (U+0000) at position " +
                                 std::to_string(nul) + ", which would cut the text there");
        }
        ReadText edit;
        for (std::size_t i = 0; i < converted.text.size(); ++i) {
            const char c = converted.text[i];
            if (c == '\n' && (i == 0 || converted.text[i - 1] != '\r')) edit.tagged += '\r';
            edit.tagged += c;
        }
        // A text as the archive has it is taken as it is, whatever it holds.
        const TLevelText& current =
            archive_.SubFile(level).Texts[static_cast<std::size_t>(number - 1)];
        if (text::DecodeText(current.Bytes) == edit.tagged) return edit;
        for (const text::UnknownCharacter& unknown : text::UnknownCharacters(edit.tagged)) {
            ++edit.unknown;
            unknown_.push_back({line, column, where + ": " + DescribeCharacter(unknown.written)});
        }
        return edit;
    }

    // Refuses the file when it holds characters that the game lacks and they are not to be
    // replaced; otherwise the warnings about the levels left out.
    std::vector<std::string> Finish() const {
        if (!unknown_.empty() && !replaceUnknown_) {
            std::string list;
            for (const UnknownPlace& place : unknown_) {
                list += (list.empty() ? "" : "; ") + place.where;
            }
            throw InputError(unknown_.front().line, unknown_.front().column,
                             "characters that the game cannot show (--replace-unknown writes "
                             "them as spaces): " +
                                 list);
        }
        std::vector<std::string> warnings;
        for (const auto& [level, entries] : skipped_) {
            const TLGPSubFile& subFile = archive_.SubFile(level);
            warnings.push_back("level " + lgp::PrintableName(subFile.Name) +
                               " could not be read, so its " + std::to_string(entries) +
                               (entries == 1 ? " entry is" : " entries are") +
                               " left out: " + subFile.Damage);
        }
        return warnings;
    }

private:
    const TLGPFile& archive_;
    const bool replaceUnknown_;
    std::map<std::string, int, std::less<>> levels_;
    std::set<std::pair<int, std::int64_t>> texts_;
    std::vector<UnknownPlace> unknown_;
    std::map<int, std::size_t> skipped_;
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

ArchiveEdits ArchiveEdits::FromJson(const TLGPFile& archive, std::string_view json,
                                    bool replaceUnknown) {
    ArchiveEdits edits;
    EditReader reader(archive, replaceUnknown);
    std::set<int> levelsSeen;
    const JsonValue root = ParseJson(json);
    for (const JsonValue& levelValue : root.Member("levels").Array()) {
        const JsonValue& nameValue = levelValue.Member("name");
        const std::string& name = nameValue.String();
        const int level = reader.Level(name, nameValue.line, nameValue.column);
        if (!levelsSeen.insert(level).second) {
            throw InputError(nameValue.line, nameValue.column,
                             "level " + lgp::PrintableName(name) + " given twice");
        }
        const JsonValue* windows = levelValue.Find("windows");
        const JsonValue* texts = levelValue.Find("texts");
        if (reader.SkipsLevel(level, (windows ? windows->Array().size() : 0) +
                                         (texts ? texts->Array().size() : 0))) {
            continue;
        }
        if (windows) {
            const std::size_t count = LevelWindows(archive.SubFile(level)).size();
            const std::vector<JsonValue>& items = windows->Array();
            for (std::size_t w = 0; w < items.size(); ++w) {
                const JsonValue& item = items[w];
                if (w >= count) {
                    throw InputError(item.line, item.column,
                                     "window " + std::to_string(w) + " out of range: level " +
                                         lgp::PrintableName(name) + " has " +
                                         std::to_string(count) + " windows");
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
        if (texts) {
            for (const JsonValue& item : texts->Array()) {
                const JsonValue& numberValue = item.Member("text");
                const std::int64_t number = numberValue.Integer("text", -kMaxNumber, kMaxNumber);
                reader.CheckText(level, number, numberValue.line, numberValue.column);
                const JsonValue& taggedValue = item.Member("tagged");
                ReadText read = reader.Text(level, number, taggedValue.String(), taggedValue.line,
                                            taggedValue.column);
                edits.texts_.push_back({level, static_cast<std::size_t>(number - 1),
                                        std::move(read.tagged), read.unknown});
            }
        }
    }
    edits.warnings_ = reader.Finish();
    return edits;
}

ArchiveEdits ArchiveEdits::FromPo(const TLGPFile& archive, std::string_view po,
                                  bool replaceUnknown, const PoEntryFilter& take) {
    ArchiveEdits edits;
    EditReader reader(archive, replaceUnknown);
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
        if (reader.SkipsLevel(level, entry.str.empty() ? 0 : 1)) continue;
        reader.CheckText(level, number, entry.line, entry.column);
        if (entry.str.empty()) continue;
        if (take && !take(entry, level, static_cast<std::size_t>(number - 1))) continue;
        ReadText read = reader.Text(level, number, entry.str, entry.strLine, entry.strColumn);
        edits.texts_.push_back(
            {level, static_cast<std::size_t>(number - 1), std::move(read.tagged), read.unknown});
    }
    edits.warnings_ = reader.Finish();
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
        counts.replaced += edit.unknown;
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

}  // namespace cli
