#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/archive_edits.h"
#include "cli/archive_export.h"
#include "cli/command.h"
#include "cli/input_error.h"
#include "lgp/archive_compare.h"
#include "lgp/archive_loader.h"

namespace {

enum class Format { Json, Po };

// The exchange format that the file name's extension (in any letter case) stands for.
Format FormatOf(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
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
    const Arguments parsed = ParseArguments(args, {}, 2);
    TLGPFile current;
    LoadArchive(current, parsed.positional[0]);
    TLGPFile original;
    LoadArchive(original, parsed.positional[1]);
    const ArchiveComparison result = CompareArchives(current, original);
    std::cout << "\tOriginal file\tCurrent file\tDifferences\tPercentage\n";
    PrintRow("texts", result.reference.texts, result.current.texts, result.differentTexts);
    PrintRow("windowed texts", result.reference.windowedTexts, result.current.windowedTexts,
             result.differentWindowedTexts);
    PrintRow("windows", result.reference.windows, result.current.windows, result.differentWindows);
    return 0;
}

int RunExport(const std::vector<std::string>& args) {
    const Arguments parsed = ParseArguments(args, {}, 2);
    const std::string& output = parsed.positional[1];
    const Format format = FormatOf(output);
    TLGPFile archive;
    LoadArchive(archive, parsed.positional[0]);
    const std::string content =
        format == Format::Json
            ? ExportJson(archive)
            : ExportPo(archive, std::filesystem::path(parsed.positional[0]).filename().string());
    WriteWholeFile(output, std::vector<std::uint8_t>(content.begin(), content.end()));
    return 0;
}

// The edits of the exchange file named `input`, its errors prefixed with that name.
ArchiveEdits ReadEdits(const TLGPFile& archive, const std::string& input, Format format,
                       std::string_view content) {
    try {
        return format == Format::Json ? ArchiveEdits::FromJson(archive, content)
                                      : ArchiveEdits::FromPo(archive, content);
    } catch (const InputError& error) {
        throw std::runtime_error(input + ":" + error.what());
    }
}

int RunImport(const std::vector<std::string>& args) {
    std::vector<std::string> rest = args;
    const std::optional<std::string> output = TakeOutput(rest);
    const Arguments parsed = ParseArguments(rest, {}, 2);
    const std::string& path = parsed.positional[0];
    const std::string& input = parsed.positional[1];
    const Format format = FormatOf(input);
    const std::vector<std::uint8_t> bytes = ReadWholeFile(input);
    const std::string_view content(reinterpret_cast<const char*>(bytes.data()), bytes.size());

    TLGPFile archive;
    LoadArchive(archive, path);
    const ImportCounts counts = ReadEdits(archive, input, format, content).ApplyTo(archive);
    SaveEdited(archive, path, output, counts.levels > 0);
    std::cout << "texts changed: " << counts.texts << '\n'
              << "windows changed: " << counts.windows << '\n'
              << "levels rebuilt: " << counts.levels << '\n';
    return 0;
}

}  // namespace

const Command kCompareCommand{
    "compare",
    "compare CURRENT ORIGINAL",
    "Compares the texts and windows of the archive CURRENT with those of ORIGINAL (for\n"
    "instance a translation with the archive it was made from). Prints a header line, then\n"
    "the rows texts, windowed texts and windows: the count of ORIGINAL, the count of CURRENT,\n"
    "how many of CURRENT differ, and their share of CURRENT's count, tab-separated. When the\n"
    "archives differ in shape (files, levels, texts per level, windows per text), the last two\n"
    "columns read \"-\"; the share also reads \"-\" when CURRENT has none of the row's items.",
    RunCompare,
};

const Command kExportCommand{
    "export",
    "export ARCHIVE OUTPUT",
    "Writes the texts of ARCHIVE's levels to OUTPUT, as JSON or PO by its extension.\n"
    ".json: {\"levels\": [{\"name\", \"windows\": [{\"x\", \"y\", \"width\", \"height\"}, ...],\n"
    "\"texts\": [{\"text\": N, \"tagged\", \"windows\": [i, ...]}, ...]}, ...]}: each level's\n"
    "windows in script order, a text's windows as indices into that list, N from 1.\n"
    ".po: one entry per text, msgctxt \"LEVEL:N\", the tagged text as msgid, msgstr empty, a\n"
    "comment with its number of windows. Empty texts and texts holding a NUL character cannot\n"
    "be a msgid: they are left out and listed in the file's first comment.",
    RunExport,
};

const Command kImportCommand{
    "import",
    "import ARCHIVE INPUT [-o OUTPUT]",
    "Applies the texts of INPUT (.json: \"tagged\"; .po: each non-empty msgstr that is not\n"
    "fuzzy) and, from JSON, the windows of each level by position, to ARCHIVE, and saves it\n"
    "safely to OUTPUT, or over ARCHIVE without -o (and then only when something changed).\n"
    "Only texts that read differently from the archive's are taken, so untouched texts keep\n"
    "their bytes; a line feed alone reads as the line break CR LF. INPUT is checked in full\n"
    "first: a malformed file, an unknown level, a number out of range or a character that\n"
    "Windows-1252 lacks is reported with its place, and nothing is written. Prints how many\n"
    "texts and windows changed and how many levels were rebuilt.",
    RunImport,
};
