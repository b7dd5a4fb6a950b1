#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "lgp/archive_writer.h"
#include "lgp/lgp_file.h"

namespace lgp {

// How a mod folder lays out the changed levels, each file named after its level NAME:
// - Direct: "direct/flevel/NAME", the level as an archive stores it (its LZS stream, the
//   stream's 4-byte length first), which the game's modding layer FFNx loads in place of the
//   archive's level;
// - Chunks: "direct/flevel.lgp/NAME.chunk.1", the level's decoded script section alone, which
//   FFNx 1.14 and later puts in place of the archive level's own, keeping the rest of the level;
// - ModManager: "flevel.lgp/NAME.chunk.1", the same chunk, in a mod of the 7th Heaven manager.
enum class ModLayout { Direct, Chunks, ModManager };

// A file of a mod folder: its path inside the folder, names separated by '/', and its bytes.
struct ModFile {
    std::string path;
    std::vector<std::uint8_t> bytes;
};

// Called after each level's file is made, with the number of levels done and to do.
using ModProgress = std::function<void(int done, int total)>;

// The path inside a mod folder of the named level's file.
std::string ModFilePath(ModLayout layout, const std::string& level);

// The files that carry the levels of `current` at the given table indices (as DifferentLevels
// gives them) in the layout, then "README.txt" saying where the folder goes. A level with
// changes not yet saved is rebuilt and, for Direct, compressed with `compress`; any other is
// read from current's file. Each chunk is checked by putting it in place of the script section
// of the level at the same index of `reference`, which must give the current level's decoded
// bytes. Throws lgp::FormatError, naming the level, when a chunk fails that check, the level's
// name differs from the reference level's or is held twice by `current`, or the level cannot be
// read or rebuilt; lgp::FileError when an archive's file cannot be read.
std::vector<ModFile> MakeModFiles(const TLGPFile& current, const TLGPFile& reference,
                                  const std::vector<int>& levels, ModLayout layout,
                                  const Compressor& compress, const ModProgress& progress = {});

// What a folder holds for an export: nothing (or the folder is missing), exactly what an
// earlier export wrote (its README.txt as MakeModFiles writes it and, in the layout that README
// describes, files of levels it names, with the folders on their way), or anything else.
enum class ModFolderContents { Nothing, EarlierExport, Other };

// Looks at the folder; a path that is no folder, or cannot be read, holds Other.
ModFolderContents InspectModFolder(const std::string& folder);

// Whether WriteModFolder may replace an earlier export found in the folder.
enum class EarlierExport { Refuse, Replace };

// Writes the files into `folder`, which is created when missing and must otherwise be an empty
// folder, or with EarlierExport::Replace a folder that holds an earlier export: that export's
// files are set aside first and deleted once the new ones are in place, and its folders that
// are left empty are removed; nothing else is ever deleted. Each file is written under a
// temporary name (removed when the program is interrupted) and renamed once complete. Throws
// lgp::FileError, naming the path, when the folder holds anything else or is not a folder or a file cannot be written: everything written
// is then removed again, and an earlier export put back. Throws std::invalid_argument for a
// path that would leave the folder.
void WriteModFolder(const std::string& folder, const std::vector<ModFile>& files,
                    EarlierExport earlier = EarlierExport::Refuse);

// DifferentLevels, MakeModFiles and WriteModFolder in turn: the changes of `current` against
// `reference` as a mod folder. Writes nothing when no level differs. Returns the names of the
// levels written. Throws what those throw.
std::vector<std::string> ExportModFolder(const TLGPFile& current, const TLGPFile& reference,
                                         const std::string& folder, ModLayout layout,
                                         const Compressor& compress,
                                         const ModProgress& progress = {},
                                         EarlierExport earlier = EarlierExport::Refuse);

}  // namespace lgp
