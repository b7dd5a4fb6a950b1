#pragma once

#include <functional>
#include <string>

#include "lgp/lgp_file.h"

namespace lgp {

// Called after each sub-file is handled, in table order, with its index.
using LoadProgress = std::function<void(int current)>;

// What opening does with a level whose field file cannot be parsed.
enum class DamagedLevels {
    // The whole archive is refused with the level's error.
    Refuse,
    // The level is kept, marked Unreadable with the reason as its Damage and an empty model;
    // saving copies it unchanged.
    Keep,
};

// Opens the archive at path into `archive`: reads its table of contents, names every
// sub-file (a level gets its run-time description, any other file "-"), then decodes and
// parses every level, several at a time on `threads` threads (0: one per core). Progress is
// reported on the calling thread. Throws lgp::FileError or lgp::FormatError (a level that
// cannot be parsed, unless `damaged` keeps it); the archive is then incomplete and must be
// discarded.
void LoadArchive(TLGPFile& archive, const std::string& path, const LoadProgress& progress = {},
                 unsigned threads = 0, DamagedLevels damaged = DamagedLevels::Refuse);

// Names every sub-file and decodes and parses every level of an archive whose table of
// contents has been read, as LoadArchive does.
void LoadLevels(TLGPFile& archive, const LoadProgress& progress = {}, unsigned threads = 0,
                DamagedLevels damaged = DamagedLevels::Refuse);

}  // namespace lgp
