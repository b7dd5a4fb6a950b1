#include <iostream>
#include <string>

#include "cli/archive_access.h"
#include "cli/command.h"
#include "cli/json.h"
#include "lgp/archive_counts.h"
#include "lgp/field_parser.h"
#include "lgp/level_tables.h"
#include "lgp/printable_name.h"
#include "text/text_decoder.h"
#include "text/windows1252.h"

namespace cli {

namespace {

int RunList(const std::vector<std::string>& args) {
    const Arguments parsed = ParseArguments(args, {"--only-levels", "--skip-damaged"}, 1);
    TLGPFile archive;
    ReadArchive(archive, parsed.positional[0], parsed.Has("--skip-damaged"));
    std::cout << "#\tFile\tDescription\tTexts\n";
    for (int i = 0; i < archive.Count; ++i) {
        const TLGPSubFile& subFile = archive.SubFile(i);
        const bool level = lgp::IsLevel(subFile);
        if (!level && parsed.Has("--only-levels")) continue;
        const std::string texts = !level               ? "-"
                                  : subFile.Unreadable ? "damaged"
                                                       : std::to_string(subFile.Texts.size());
        std::cout << i + 1 << '\t' << lgp::PrintableName(subFile.Name) << '\t'
                  << text::Windows1252ToUtf8(subFile.Description) << '\t' << texts << '\n';
    }
    return 0;
}

int RunTexts(const std::vector<std::string>& args) {
    const Arguments parsed = ParseArguments(args, {}, 2);
    const std::string& name = parsed.positional[1];
    if (!lgp::IsLevel(name)) throw std::runtime_error(name + " is not a level name");
    TLGPFile archive;
    archive.ReadTableOfContents(parsed.positional[0]);
    for (const auto& subFile : archive.SubFiles) {
        if (subFile->Name != name) continue;
        lgp::ParseFieldFile(*subFile, archive.ReadSubFile(*subFile));
        for (std::size_t t = 0; t < subFile->Texts.size(); ++t) {
            const TLevelText& levelText = subFile->Texts[t];
            std::cout << "{\"text\": " << t + 1 << ", \"windows\": [";
            for (std::size_t w = 0; w < levelText.Windows.size(); ++w) {
                const TWindow& window = *levelText.Windows[w];
                std::cout << (w > 0 ? ", " : "") << '[' << window.X << ", " << window.Y << ", "
                          << window.Width << ", " << window.Height << ']';
            }
            std::cout << "], \"tagged\": "
                      << JsonString(text::Windows1252ToUtf8(text::DecodeText(levelText.Bytes)))
                      << "}\n";
        }
        return 0;
    }
    throw std::runtime_error("the archive has no level named " + lgp::PrintableName(name));
}

int RunInfo(const std::vector<std::string>& args) {
    const Arguments parsed = ParseArguments(args, {"--skip-damaged"}, 1);
    TLGPFile archive;
    ReadArchive(archive, parsed.positional[0], parsed.Has("--skip-damaged"));
    const lgp::ArchiveCounts counts = lgp::CountArchive(archive);
    std::cout << "creator: " << lgp::PrintableName(text::Windows1252ToUtf8(archive.Creator)) << '\n'
              << "files: " << archive.Count << '\n'
              << "levels: " << counts.levels << '\n'
              << "texts: " << counts.texts << '\n'
              << "windowed texts: " << counts.windowedTexts << '\n'
              << "windows: " << counts.windows << '\n';
    return 0;
}

}  // namespace

const Command kListCommand{
    "list",
    "list ARCHIVE [--only-levels] [--skip-damaged]",
    "Prints a header line, then one row per file in table order: index (from 1), name,\n"
    "description and number of texts (\"-\" for files that are not levels), tab-separated.\n"
    "With --only-levels, only the levels' rows. --skip-damaged opens an archive with levels\n"
    "that cannot be read: each is named on standard error with the reason and its number of\n"
    "texts reads \"damaged\".",
    RunList,
};

const Command kTextsCommand{
    "texts",
    "texts ARCHIVE LEVEL",
    "Prints one JSON object per text of LEVEL: {\"text\": N, \"windows\": [[x, y, width,\n"
    "height], ...], \"tagged\": \"...\"}, N from 1, the tagged text in UTF-8.",
    RunTexts,
};

const Command kInfoCommand{
    "info",
    "info ARCHIVE [--skip-damaged]",
    "Prints the archive's creator and its numbers of files, levels, texts, windowed texts\n"
    "(texts shown in at least one window) and windows (one per text and window showing it).\n"
    "--skip-damaged opens an archive with levels that cannot be read: each is named on\n"
    "standard error with the reason and counts as a level without texts.",
    RunInfo,
};

}  // namespace cli
