#include <iostream>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/archive_access.h"
#include "lgp/replace_all.h"
#include "lgp/text_search.h"
#include "text/windows1252.h"

namespace cli {

namespace {

// A command-line argument (UTF-8) as tagged text: Windows-1252, with "\n" (a backslash and an
// n) or a line feed on its own for the line break CR LF, and "\\" for one backslash (so that
// "\\n" is a backslash and an n); any other backslash stands for itself. Throws UsageError when
// it must not be empty and is, and std::runtime_error when it holds characters that
// Windows-1252, and so any text, lacks.
std::string TaggedArgument(const std::string& utf8, const char* name, bool mayBeEmpty) {
    if (utf8.empty() && !mayBeEmpty) throw UsageError(std::string(name) + " must not be empty");
    const text::Windows1252Text converted = text::Utf8ToWindows1252(utf8);
    if (converted.replaced > 0) {
        throw std::runtime_error(std::string(name) +
                                 " holds characters that Windows-1252 cannot hold");
    }
    const std::string& s = converted.text;
    std::string tagged;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size() && s[i + 1] == 'n') {
            tagged += "\r\n";
            ++i;
        } else if (s[i] == '\\' && i + 1 < s.size() && s[i + 1] == '\\') {
            tagged += '\\';
            ++i;
        } else if (s[i] == '\n' && (i == 0 || s[i - 1] != '\r')) {
            tagged += "\r\n";
        } else {
            tagged += s[i];
        }
    }
    return tagged;
}

int RunFind(const std::vector<std::string>& args) {
    const Arguments parsed = ParseArguments(args, {"--match-case", "--skip-damaged"}, 2);
    const std::string search = TaggedArgument(parsed.positional[1], "TEXT", false);
    TLGPFile archive;
    ReadArchive(archive, parsed.positional[0], parsed.Has("--skip-damaged"));
    lgp::SearchTexts texts;
    texts.Update(archive);
    for (const lgp::TextHit& hit : lgp::FindAll(texts, search, parsed.Has("--match-case"))) {
        std::cout << archive.SubFile(hit.subFile).Name << '\t' << hit.text + 1 << '\t'
                  << hit.position << '\n';
    }
    return 0;
}

int RunReplace(const std::vector<std::string>& args) {
    std::vector<std::string> rest = args;
    const std::optional<std::string> output = TakeOption(rest, "-o");
    const Arguments parsed =
        ParseArguments(rest, {"--match-case", "--skip-damaged", "--break-links"}, 3, 2);
    const std::string search = TaggedArgument(parsed.positional[1], "SEARCH", false);
    const std::string replacement = TaggedArgument(parsed.positional[2], "REPLACEMENT", true);
    int changed = 0;
    EditArchive(parsed.positional[0],
                {.output = output, .skipDamaged = parsed.Has("--skip-damaged"),
                 .breakLinks = parsed.Has("--break-links")},
                [&](TLGPFile& archive) {
                    try {
                        changed = lgp::ReplaceAll(archive, search, replacement,
                                                  parsed.Has("--match-case"));
                    } catch (const lgp::ReplaceRefused& refused) {
                        throw std::runtime_error(std::string("nothing was replaced: ") + refused.what());
                    }
                    return changed > 0;
                });
    if (changed == 0) {
        std::cout << "No text has been modified.\n";
    } else if (changed == 1) {
        std::cout << "1 text has been modified.\n";
    } else {
        std::cout << changed << " texts have been modified.\n";
    }
    return 0;
}

}  // namespace

const Command kFindCommand{
    "find",
    "find ARCHIVE [--match-case] [--skip-damaged] [--] TEXT",
    "Prints every occurrence of the tagged text TEXT in the texts of ARCHIVE's levels, one line\n"
    "each: the level's name, the text's number (from 1, as the editor's texts list shows it)\n"
    "and the occurrence's character position in the tagged text (from 0), tab-separated, in\n"
    "table order. Occurrences do not overlap: each is looked for after the end of the one\n"
    "before. Letter case is ignored (accented capitals too) unless --match-case. \"\\n\" in\n"
    "TEXT stands for a line break and \"\\\\\" for one backslash; after \"--\", TEXT may start\n"
    "with \"-\". Prints nothing when there is no occurrence. --skip-damaged opens an archive\n"
    "with levels that cannot be read: each is named on standard error with the reason.",
    RunFind,
};

const Command kReplaceCommand{
    "replace",
    "replace ARCHIVE [--match-case] [-o OUTPUT] [--skip-damaged] [--break-links] [--]\n"
    "                SEARCH REPLACEMENT",
    "Replaces every occurrence of the tagged text SEARCH by REPLACEMENT in the texts of\n"
    "ARCHIVE's levels, as the editor's \"Replace all\" does: without --match-case, a text takes\n"
    "part when SEARCH occurs in it with the letters A to Z folded alone, and its occurrences are\n"
    "then replaced whatever their case (accented capitals too). An empty REPLACEMENT ('')\n"
    "deletes SEARCH. Prints how many texts changed and saves safely to OUTPUT, or over ARCHIVE\n"
    "without -o (and then only when a text changed). \"\\n\" in SEARCH and REPLACEMENT stands\n"
    "for a line break and \"\\\\\" for one backslash; after \"--\", they may start with \"-\".\n"
    "When a changed text would hold what the game cannot show, or a level's texts would pass\n"
    "65,535 bytes, nothing is replaced or written.",
    RunReplace,
};

}  // namespace cli
