#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace cli {

// One entry of a PO file with its strings unescaped, and where it stands in the file (lines
// and columns from 1).
struct PoEntry {
    bool hasContext = false;
    std::string context;
    std::string id;
    std::string str;
    // Marked "#, fuzzy": a translation to be reviewed, which gettext does not use either.
    bool fuzzy = false;
    // Where the entry's first keyword stands.
    int line = 0;
    int column = 0;
    // Where the first string of msgstr starts.
    int strLine = 0;
    int strColumn = 0;
};

// Reads a UTF-8 PO file (a leading byte order mark skipped): every entry in file order, the
// header entry included; obsolete entries (#~) and other comments are passed over. Strings
// take the escapes \" \\ \a \b \f \n \r \t \v and octal ones. Throws InputError at the first
// fault: a line that is no keyword, string or comment, keywords out of order, a string not
// closed, an unknown escape, plural forms (not supported), an entry without msgstr, or a
// header that declares a charset other than UTF-8.
std::vector<PoEntry> ParsePo(std::string_view text);

// The keyword and UTF-8 text as PO lines, each ending in a line feed: `keyword "text"`, or,
// when a line feed stands before the text's end, `keyword ""` and then one quoted line for
// each line of the text. Quotes, backslashes and control characters are escaped; gettext cuts
// a string at an escaped NUL, so texts that hold one do not belong in a PO file.
std::string PoField(std::string_view keyword, std::string_view utf8);

}  // namespace cli
