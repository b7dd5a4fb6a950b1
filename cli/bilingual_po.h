#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "lgp/lgp_file.h"

// PO files for translation tools that keep both sides of every text: msgid the original
// archive's text, msgstr the translation's. Levels are matched by name, as exchange files name
// them (ExchangeLevels), texts by number; both texts as PoText writes them.

namespace cli {

// True for a language code as a PO header gives it: letters, digits, "_", "-", "@" and ".",
// such as "fr", "pt_BR" or "sr@latin".
bool IsLanguageCode(std::string_view code);

// Now in UTC, as a PO header's revision date ("YYYY-MM-DD HH:MM+0000").
std::string PoRevisionDate();

// The texts of the archive's levels beside those of `original` as a UTF-8 PO file whose header
// names `title`, the revision date `revised` ("YYYY-MM-DD HH:MM+ZZZZ") and, unless empty,
// `language`. Per text: comments with the level's description and name and with the text's
// windows (position and size), msgctxt "LEVEL:N" (N from 1), the original's text as msgid,
// and as msgstr the archive's text when its bytes differ from the original's, else "". An
// entry whose msgstr starts or ends with a line break where its msgid does not, or the
// reverse, is marked fuzzy with a comment saying why: gettext's tools refuse it otherwise.
// Left out, and listed in the file's first comment: levels that could not be read or that
// the original lacks, texts the original lacks, texts whose original decodes to nothing or
// holds a NUL character (neither can be a msgid), and texts emptied or holding a NUL.
std::string ExportBilingualPo(const TLGPFile& archive, const TLGPFile& original,
                              std::string_view title, std::string_view revised,
                              std::string_view language);

// The original's texts for the import of a bilingual PO file: each entry's msgid must still be
// the original's text, or the translation was made for another text.
class OriginalTexts {
public:
    // `original` must outlive this object.
    explicit OriginalTexts(const TLGPFile& original);

    // True when `msgid` is the original's text `text` (from 0) of the level named `level`;
    // otherwise false, with the place noted as "level NAME, text N" (N from 1).
    bool Matches(const std::string& level, std::size_t text, const std::string& msgid);
    // The places noted, in the order met.
    const std::vector<std::string>& Changed() const { return changed_; }

private:
    std::map<std::string, const TLGPSubFile*, std::less<>> levels_;
    std::vector<std::string> changed_;
};

}  // namespace cli
