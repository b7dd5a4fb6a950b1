#include <iostream>

#include "cli/command.h"
#include "lgp/lgp_file.h"
#include "lgp/printable_name.h"
#include "lzs/decode_stream.h"

namespace cli {

namespace {

int RunToc(const std::vector<std::string>& args) {
    const Arguments parsed = ParseArguments(args, {}, 1);
    TLGPFile archive;
    archive.ReadTableOfContents(parsed.positional[0]);
    std::cout << "creator\t" << lgp::PrintableName(archive.Creator) << '\n';
    for (int i = 0; i < archive.Count; ++i) {
        const TLGPSubFile& subFile = archive.SubFile(i);
        std::cout << i + 1 << '\t' << lgp::PrintableName(subFile.Name) << '\t' << subFile.Offset
                  << '\t' << subFile.Length << '\n';
    }
    return 0;
}

int RunExtract(const std::vector<std::string>& args) {
    const Arguments parsed = ParseArguments(args, {"--raw"}, 3);
    const std::string& name = parsed.positional[1];
    RefuseOutputAmongInputs(parsed.positional[2], {parsed.positional[0]});
    TLGPFile archive;
    archive.ReadTableOfContents(parsed.positional[0]);
    for (const auto& subFile : archive.SubFiles) {
        if (subFile->Name != name) continue;
        const auto stored = archive.ReadStoredData(*subFile);
        WriteWholeFile(parsed.positional[2], parsed.Has("--raw") ? stored : lzs::DecodeStream(stored));
        return 0;
    }
    throw std::runtime_error("the archive has no file named " + lgp::PrintableName(name));
}

}  // namespace

const Command kTocCommand{
    "toc",
    "toc ARCHIVE",
    "Prints the archive's creator text, then one line per table-of-contents entry:\n"
    "index (from 1), name, offset and length, separated by tabs.",
    RunToc,
};

const Command kExtractCommand{
    "extract",
    "extract ARCHIVE NAME OUTPUT [--raw]",
    "Writes the decoded data of the first file named NAME in ARCHIVE to OUTPUT;\n"
    "with --raw, its stored bytes as they are in the archive.",
    RunExtract,
};

}  // namespace cli
