#include <iostream>
#include <string>

#include "cli/command.h"
#include "cli/json.h"
#include "lgp/archive_counts.h"
#include "lgp/archive_loader.h"
#include "lgp/field_parser.h"
#include "lgp/level_tables.h"
#include "text/text_decoder.h"
#include "text/windows1252.h"

namespace {

int RunList(const std::vector<std::string>& args) {
    const Arguments parsed = ParseArguments(args, {"--only-levels"}, 1);
    TLGPFile archive;
    LoadArchive(archive, parsed.positional[0]);
    std::cout << "#\tFile\tDescription\tTexts\n";
    for (int i = 0; i < archive.Count; ++i) {
        const TLGPSubFile& subFile = archive.SubFile(i);
        const bool level = lgp::IsLevel(subFile);
        if (!level && parsed.Has("--only-levels")) continue;
        std::cout << i + 1 << '\t' << subFile.Name << '\t'
                  << text::Windows1252ToUtf8(subFile.Description) << '\t'
                  << (level ? std::to_string(subFile.Texts.size()) : "-") << '\n';
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
        ParseFieldFile(*subFile, archive.ReadSubFile(*subFile));
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
    throw std::runtime_error("the archive has no level named " + name);
}

int RunInfo(const std::vector<std::string>& args) {
    const Arguments parsed = ParseArguments(args, {}, 1);
    TLGPFile archive;
    LoadArchive(archive, parsed.positional[0]);
    const ArchiveCounts counts = CountArchive(archive);
    std::cout << "creator: " << text::Windows1252ToUtf8(archive.Creator) << '\n'
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
    "list ARCHIVE [--only-levels]",
    "Prints a header line, then one row per file in table order: index (from 1), name,\n"
    "description and number of texts (\"-\" for files that are not levels), tab-separated.\n"
    "With --only-levels, only the levels' rows.",
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
    "info ARCHIVE",
    "Prints the archive's creator and its numbers of files, levels, texts, windowed texts\n"
    "(texts shown in at least one window) and windows (one per text and window showing it).",
    RunInfo,
};
