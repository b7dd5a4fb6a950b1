#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "lgp/level_tables.h"
#include "sample/field_file_writer.h"

namespace sample {

inline constexpr std::uint32_t kDefaultSeed = 1997;

struct SampleOptions {
    std::uint32_t seed = kDefaultSeed;
    // Levels written: the first this many of the level-name table, 0 to all of them.
    int levels = lgp::kLevelCount;
    // Lays the data out as readers and writers must survive it: blocks not in table order,
    // one gap between two blocks, two table entries sharing one block.
    bool irregular = false;
    // Threads that make levels: 0 for one per core. The bytes do not depend on it.
    unsigned threads = 0;
};

struct SampleArchive {
    std::vector<std::uint8_t> bytes;
    // The creator's name in the header.
    std::string creator;
    // What each level holds, in level-table order.
    std::vector<SampleLevel> levels;
    // The names of all files, levels or not, in table-of-contents order.
    std::vector<std::string> files;

    // The table index of the file named `name` (letter case counts), -1 when there is none.
    int TableIndex(std::string_view name) const;
    // What the level named `name` holds; throws std::out_of_range when there is no such level.
    const SampleLevel& Level(std::string_view name) const;
};

// Makes an archive shaped like the game's field archive: the creator "SQUARESOFT", the levels
// as LZS-compressed field files, and more than 20 other files (maplist, flevel.siz, textures,
// tutorials, upper-case copies of level names that are not levels); the table of contents
// grouped by lookup slot with a valid lookup table after it; the data in table order, then
// "FINAL FANTASY7". The same options give the same bytes, and a level's content does not
// depend on how many levels are written. Throws std::invalid_argument when options.levels is
// outside 0 to lgp::kLevelCount.
SampleArchive MakeSampleArchive(const SampleOptions& options = {});

// Makes the archive and writes it to path. Throws lgp::FileError when the file cannot be
// written, and what MakeSampleArchive throws.
SampleArchive WriteSampleArchive(const std::string& path, const SampleOptions& options = {});

}  // namespace sample
