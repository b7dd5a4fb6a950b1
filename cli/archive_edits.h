#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "lgp/lgp_file.h"

namespace cli {

struct PoEntry;

// What applying an exchange file changed.
struct ImportCounts {
    int texts = 0;
    int windows = 0;
    // Levels whose texts or windows changed: those that saving rebuilds.
    int levels = 0;
    // Characters of the changed texts that the game lacks, written as spaces (only when the
    // edits were read to replace them).
    int replaced = 0;
};

// The texts and window values that an exchange file (JSON or PO, as ExportJson and ExportPo
// write them) gives for an archive, read and checked in full before anything is applied.
class ArchiveEdits {
public:
    // Both readers take a line feed without a carriage return for the line break CR LF, and
    // refuse a text holding a NUL character (InputError naming the level, the text and the
    // character's position in it from 0), which would cut it short. A
    // text that reads differently from the archive's and holds characters or placeholders
    // that the game's character set lacks (such as "€", U+00A0 or "%99999") is refused with
    // each of them (level, text, character) in one InputError, unless `replaceUnknown`: they
    // are then written as spaces. The edits of a level that could not be read (Unreadable) are
    // left out and named in Warnings.

    // Reads a JSON exchange file: each listed level's texts by number ("tagged"), and its
    // windows by position in its "windows" list (windows past the list's end are kept); a
    // text's own "windows" list is ignored. Throws InputError, at the offending place, for
    // malformed JSON, a missing or mistyped member, a level the archive lacks or listed twice,
    // a text number out of range or listed twice, more windows than the level has, a value
    // outside its field's range (x, y: -32768 to 32767; width, height: 0 to 65535), or a text
    // with characters Windows-1252 cannot hold (naming the level and the text).
    static ArchiveEdits FromJson(const TLGPFile& archive, std::string_view json,
                                 bool replaceUnknown = false);

    // Reads a PO exchange file: the non-empty msgstr of each entry whose msgctxt is
    // "LEVEL:N"; the header, fuzzy entries and untranslated ones change nothing. Throws
    // InputError, at the offending place, for a malformed PO file, an entry without such a
    // msgctxt, a level the archive lacks, a text number out of range or given twice, or a
    // msgstr with characters Windows-1252 cannot hold (naming the level and the text).
    // `take`, when given, decides on each entry with a non-empty msgstr that is not fuzzy (with
    // its level's table index and the text's index): false leaves it out.
    using PoEntryFilter = std::function<bool(const PoEntry& entry, int level, std::size_t text)>;
    static ArchiveEdits FromPo(const TLGPFile& archive, std::string_view po,
                               bool replaceUnknown = false, const PoEntryFilter& take = {});

    // Applies the edits to the archive they were read for. A text is replaced by its encoded
    // tagged text only when that differs from the text's decoded current bytes: decoding is not
    // one-to-one, so re-encoding a text nobody changed could alter its bytes. A window takes
    // its values when they differ. Returns what changed.
    ImportCounts ApplyTo(TLGPFile& archive) const;

    // One line for each level whose edits were left out because it could not be read.
    const std::vector<std::string>& Warnings() const { return warnings_; }

private:
    struct TextEdit {
        int level;
        std::size_t text;
        // Windows-1252.
        std::string tagged;
        // Characters in it that the game lacks.
        int unknown;
    };
    struct WindowEdit {
        int level;
        std::size_t window;
        std::int16_t x, y;
        std::uint16_t width, height;
    };

    std::vector<TextEdit> texts_;
    std::vector<WindowEdit> windows_;
    std::vector<std::string> warnings_;
};

}  // namespace cli
