#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/archive_access.h"
#include "lgp/compress_stream.h"
#include "lgp/mod_folder.h"

namespace cli {

namespace {

// The layout that `--layout VALUE` names, taken out of args.
lgp::ModLayout TakeLayout(std::vector<std::string>& args) {
    const std::optional<std::string> name = TakeOption(args, "--layout");
    if (!name) throw UsageError("--layout direct|chunks|mod is required");
    if (*name == "direct") return lgp::ModLayout::Direct;
    if (*name == "chunks") return lgp::ModLayout::Chunks;
    if (*name == "mod") return lgp::ModLayout::ModManager;
    throw UsageError("--layout must be direct, chunks or mod, not " + *name);
}

int RunExportMod(const std::vector<std::string>& args) {
    std::vector<std::string> rest = args;
    const lgp::ModLayout layout = TakeLayout(rest);
    const Arguments parsed = ParseArguments(rest, {"--skip-damaged"}, 3);
    const bool skipDamaged = parsed.Has("--skip-damaged");
    TLGPFile current;
    ReadArchive(current, parsed.positional[0], skipDamaged);
    TLGPFile original;
    ReadArchive(original, parsed.positional[1], skipDamaged);
    const std::vector<std::string> levels =
        lgp::ExportModFolder(current, original, parsed.positional[2], layout, lgp::CompressStream);
    for (const std::string& level : levels) std::cout << lgp::ModFilePath(layout, level) << '\n';
    std::cout << "levels exported: " << levels.size() << '\n';
    return 0;
}

}  // namespace

const Command kExportModCommand{
    "export-mod",
    "export-mod ARCHIVE ORIGINAL OUTDIR --layout direct|chunks|mod [--skip-damaged]",
    "Writes the levels of ARCHIVE whose texts or windows differ from ORIGINAL (the archive it\n"
    "was made from) into OUTDIR, a new or empty folder, as the game's modding layers load\n"
    "them, with a README.txt saying where the folder goes:\n"
    "  direct  direct/flevel/NAME: the whole level as the archive stores it, for FFNx;\n"
    "  chunks  direct/flevel.lgp/NAME.chunk.1: the level's script and dialogue section alone,\n"
    "          for FFNx 1.14 or later, so that other mods' changes to the level are kept;\n"
    "  mod     flevel.lgp/NAME.chunk.1: the same chunks as a mod for the 7th Heaven manager.\n"
    "Put in place of ORIGINAL's script section, a chunk must give ARCHIVE's level: a level\n"
    "that differs elsewhere too is refused (use direct). Prints each file written and the\n"
    "number of levels; writes nothing when no level differs. --skip-damaged opens archives\n"
    "with levels that cannot be read: each is named on standard error with the reason, and a\n"
    "level damaged in both archives is left out.",
    RunExportMod,
};

}  // namespace cli
