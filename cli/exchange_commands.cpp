#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/archive_access.h"
#include "cli/archive_edits.h"
#include "cli/archive_export.h"
#include "cli/bilingual_po.h"
#include "cli/command.h"
#include "cli/input_error.h"
#include "cli/po_file.h"
#include "lgp/archive_compare.h"
#include "lgp/archive_saver.h"
#include "lgp/compress_stream.h"
#include "platform/utf8_path.h"

namespace cli {

namespace {

enum class Format { Json, Po };

// The exchange format that the file name's extension (in any letter case) stands for.
Format FormatOf(const std::string& path) {
    std::string extension = platform::Utf8FromPath(platform::PathFromUtf8(path).extension());
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".json") return Format::Json;
    if (extension == ".po") return Format::Po;
    throw UsageError(path + " must end in .json or .po");
}

std::string Percentage(std::int32_t part, std::int32_t whole) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.2f %%", 100.0 * part / whole);
    return buffer;
}

void PrintRow(const char* name, std::int32_t original, std::int32_t current,
              std::int32_t differences) {
    std::cout << name << '\t' << original << '\t' << current << '\t';
    if (differences < 0) {
        std::cout << "-\t-\n";
        return;
    }
    // A row without any current item has no share to show.
    std::cout << differences << '\t' << (current == 0 ? "-" : Percentage(differences, current))
              << '\n';
}

int RunCompare(const std::vector<std::string>& args) {
    const Arguments parsed = ParseArguments(args, {"--skip-damaged"}, 2);
    TLGPFile current;
    ReadArchive(current, parsed.positional[0], parsed.Has("--skip-damaged"));
    TLGPFile original;
    ReadArchive(original, parsed.positional[1], parsed.Has("--skip-damaged"));
    const lgp::ArchiveComparison result = lgp::CompareArchives(current, original);
    std::cout << "\tOriginal file\tCurrent file\tDifferences\tPercentage\n";
    PrintRow("texts", result.reference.texts, result.current.texts, result.differentTexts);
    PrintRow("windowed texts", result.reference.windowedTexts, result.current.windowedTexts,
             result.differentWindowedTexts);
    PrintRow("windows", result.reference.windows, result.current.windows, result.differentWindows);
    return 0;
}

int RunExport(const std::vector<std::string>& args) {
    std::vector<std::string> rest = args;
    const std::optional<std::string> originalPath = TakeOption(rest, "--original");
    const std::optional<std::string> language = TakeOption(rest, "--language");
    const Arguments parsed = ParseArguments(rest, {"--skip-damaged", "--break-links"}, 2);
    const std::string& output = parsed.positional[1];
    const Format format = FormatOf(output);
    if (originalPath && format != Format::Po) throw UsageError("--original goes with a .po file");
    if (language && !originalPath) throw UsageError("--language goes with --original");
    if (language && !IsLanguageCode(*language)) {
        throw UsageError("--language wants a code such as fr or pt_BR, not " + *language);
    }
    std::vector<std::string> inputs = {parsed.positional[0]};
    if (originalPath) inputs.push_back(*originalPath);
    RefuseOutputAmongInputs(output, inputs);
    TLGPFile archive;
    ReadArchive(archive, parsed.positional[0], parsed.Has("--skip-damaged"));
    const std::string name =
        platform::Utf8FromPath(platform::PathFromUtf8(parsed.positional[0]).filename());
    std::string content;
    if (originalPath) {
        TLGPFile original;
        ReadArchive(original, *originalPath, parsed.Has("--skip-damaged"));
        content =
            ExportBilingualPo(archive, original, name, PoRevisionDate(), language.value_or(""));
    } else {
        content = format == Format::Json ? ExportJson(archive) : ExportPo(archive, name);
    }
    WriteWholeFile(output, std::vector<std::uint8_t>(content.begin(), content.end()),
                   parsed.Has("--break-links"));
    return 0;
}

// The edits of the exchange file named `input`, its errors prefixed with that name.
ArchiveEdits ReadEdits(const TLGPFile& archive, const std::string& input, Format format,
                       std::string_view content, bool replaceUnknown,
                       const ArchiveEdits::PoEntryFilter& take) {
    try {
        return format == Format::Json
                   ? ArchiveEdits::FromJson(archive, content, replaceUnknown)
                   : ArchiveEdits::FromPo(archive, content, replaceUnknown, take);
    } catch (const InputError& error) {
        throw std::runtime_error(input + ":" + error.what());
    }
}

int RunImport(const std::vector<std::string>& args) {
    std::vector<std::string> rest = args;
    const std::optional<std::string> output = TakeOption(rest, "-o");
    const std::optional<std::string> originalPath = TakeOption(rest, "--original");
    const Arguments parsed =
        ParseArguments(rest, {"--skip-damaged", "--break-links", "--replace-unknown"}, 2);
    const std::string& path = parsed.positional[0];
    const std::string& input = parsed.positional[1];
    const Format format = FormatOf(input);
    if (originalPath && format != Format::Po) throw UsageError("--original goes with a .po file");
    if (output) {
        std::vector<std::string> inputs = {input};
        if (originalPath) inputs.push_back(*originalPath);
        RefuseOutputAmongInputs(*output, inputs);
    }

    // Read before the archive is locked for its edit: it may be the same file.
    TLGPFile original;
    if (originalPath) ReadArchive(original, *originalPath, parsed.Has("--skip-damaged"));
    OriginalTexts originalTexts(original);
    const bool replaceUnknown = parsed.Has("--replace-unknown");
    ImportCounts counts;
    EditArchive(path,
                {.output = output,
                 .skipDamaged = parsed.Has("--skip-damaged"),
                 .breakLinks = parsed.Has("--break-links")},
                [&](TLGPFile& archive) {
                    ArchiveEdits::PoEntryFilter sameSource;
                    if (originalPath) {
                        sameSource = [&](const PoEntry& entry, int level, std::size_t text) {
                            return originalTexts.Matches(archive.SubFile(level).Name, text,
                                                         entry.id);
                        };
                    }
                    // Read once the archive is locked and open: INPUT may be a FIFO whose
                    // writer waits for that.
                    const std::vector<std::uint8_t> bytes = ReadWholeFile(input);
                    const std::string_view content(reinterpret_cast<const char*>(bytes.data()),
                                                   bytes.size());
                    const ArchiveEdits edits =
                        ReadEdits(archive, input, format, content, replaceUnknown, sameSource);
                    for (const std::string& warning : edits.Warnings()) {
                        std::cerr << "orvenne-cli import: " << input << ": " << warning << '\n';
                    }
                    for (const std::string& place : originalTexts.Changed()) {
                        std::cerr << "orvenne-cli import: " << input << ": " << place
                                  << ": its msgid is no longer the original's text; not applied\n";
                    }
                    counts = edits.ApplyTo(archive);
                    return counts.levels > 0;
                });
    std::cout << "texts changed: " << counts.texts << '\n'
              << "windows changed: " << counts.windows << '\n'
              << "levels rebuilt: " << counts.levels << '\n';
    if (replaceUnknown) std::cout << "unknown characters replaced: " << counts.replaced << '\n';
    if (originalPath) std::cout << "sources changed: " << originalTexts.Changed().size() << '\n';
    return 0;
}

}  // namespace

const Command kCompareCommand{
    "compare",
    "compare CURRENT ORIGINAL [--skip-damaged]",
    "Compares the texts and windows of the archive CURRENT with those of ORIGINAL (for\n"
    "instance a translation with the archive it was made from). Prints a header line, then\n"
    "the rows texts, windowed texts and windows: the count of ORIGINAL, the count of CURRENT,\n"
    "how many of CURRENT differ, and their share of CURRENT's count, tab-separated. When the\n"
    "archives differ in shape (files, levels, texts per level, windows per text), the last two\n"
    "columns read \"-\"; the share also reads \"-\" when CURRENT has none of the row's items.\n"
    "--skip-damaged opens archives with levels that cannot be read: each is named on standard\n"
    "error with the reason and counts as a level without texts or windows.",
    RunCompare,
};

const Command kExportCommand{
    "export",
    "export ARCHIVE OUTPUT [--original ORIGINAL [--language CODE]] [--skip-damaged]\n"
    "              [--break-links]",
    "Writes the texts of ARCHIVE's levels to OUTPUT, as JSON or PO by its extension.\n"
    ".json: {\"levels\": [{\"name\", \"windows\": [{\"x\", \"y\", \"width\", \"height\"}, ...],\n"
    "\"texts\": [{\"text\": N, \"tagged\", \"windows\": [i, ...]}, ...]}, ...]}: each level's\n"
    "windows in script order, a text's windows as indices into that list (from 0), N from 1\n"
    "as the editor's texts list counts them.\n"
    ".po: one entry per text, msgctxt \"LEVEL:N\", the tagged text as msgid (line breaks as\n"
    "\\n alone), msgstr empty, a comment with its number of windows. Empty texts and texts\n"
    "holding a NUL character cannot be a msgid: they are left out and listed in the file's\n"
    "first comment.\n"
    "OUTPUT is replaced only once the new file is complete; one with several hard links is\n"
    "refused unless --break-links, and ARCHIVE itself always is. --skip-damaged opens an\n"
    "archive with levels that cannot be read: each is named on standard error with the reason\n"
    "and left out.\n"
    "--original ORIGINAL writes a bilingual .po for translation tools instead: ARCHIVE is the\n"
    "translation of ORIGINAL (levels matched by name, texts by number). Per text, comments\n"
    "with the level's description and the text's windows (x, y, width x height), msgctxt\n"
    "\"LEVEL:N\", ORIGINAL's text as msgid, and ARCHIVE's as msgstr where its bytes differ\n"
    "from ORIGINAL's (empty while untranslated). The header gets \"Language: CODE\" with\n"
    "--language. An entry whose msgstr starts or ends with a line break where its msgid does\n"
    "not, or the reverse, is marked fuzzy: gettext's tools take it no other way. Left out,\n"
    "and listed in the first comment: levels and texts that ORIGINAL lacks, texts that are\n"
    "empty or hold a NUL character in ORIGINAL, and texts that ARCHIVE emptied or that hold a\n"
    "NUL character there. msgmerge with a plain export of a newer ORIGINAL brings the file up\n"
    "to date.",
    RunExport,
};

const Command kImportCommand{
    "import",
    "import ARCHIVE INPUT [-o OUTPUT] [--original ORIGINAL] [--skip-damaged]\n"
    "              [--replace-unknown] [--break-links]",
    "Applies the texts of INPUT (.json: \"tagged\"; .po: each non-empty msgstr that is not\n"
    "fuzzy) and, from JSON, the windows of each level by position (from 0), to ARCHIVE, and\n"
    "saves it safely to OUTPUT, or over ARCHIVE without -o (and then only when something\n"
    "changed); OUTPUT must not be INPUT. Only texts that read differently from the archive's\n"
    "are taken, so untouched texts keep their bytes; a line feed alone reads as the line break\n"
    "CR LF. INPUT is checked in full first: a malformed file, an unknown level, a number out of\n"
    "range, a character that Windows-1252 lacks, a NUL character (with its position in the\n"
    "text, from 0), or characters that the game cannot show (each named with its level and\n"
    "its text, from 1) are reported with their place in INPUT (line and column, from 1), and\n"
    "nothing is written. Prints how many texts and windows changed and how many levels were\n"
    "rebuilt.\n"
    "Saving keeps the archive's permissions, writes beside the file that a symbolic link\n"
    "names, and refuses a read-only archive, or one with several hard links unless\n"
    "--break-links. Another import into the same archive waits for this one; after 2 seconds\n"
    "it gives up with \"ARCHIVE is being saved by another program\". An archive that another\n"
    "program replaced or changed meanwhile is not written over.\n"
    "--replace-unknown writes the characters that the game cannot show as spaces, and prints\n"
    "how many were. --skip-damaged opens an archive with levels that cannot be read: each is\n"
    "named on standard error with the reason, the edits for it are left out (with a\n"
    "warning), and it is saved back byte for byte. A level whose text table is damaged is\n"
    "read, but an edit of it is refused with the reason.\n"
    "--original ORIGINAL reads INPUT as a bilingual .po (as export --original writes it): a\n"
    "msgstr is applied only while its msgid is still ORIGINAL's text; each other one is named\n"
    "(level, text from 1) on standard error and left out, and their number is printed as\n"
    "\"sources changed\".",
    RunImport,
};

}  // namespace cli
