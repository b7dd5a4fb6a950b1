#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "lgp/lgp_file.h"

namespace lgp {

// Text and window counts of one archive, over its levels only.
struct ArchiveCounts {
    std::int32_t levels = 0;
    std::int32_t texts = 0;
    // Texts whose window list holds at least one window.
    std::int32_t windowedTexts = 0;
    // Entries of all texts' window lists: a window shown by several texts counts for each.
    std::int32_t windows = 0;
};

// Counts the levels, texts and windows of a loaded archive.
ArchiveCounts CountArchive(const TLGPFile& archive);
// The same over the levels whose table index `counted` takes.
ArchiveCounts CountArchive(const TLGPFile& archive,
                           const std::function<bool(std::size_t)>& counted);

}  // namespace lgp
