#pragma once

#include <cstdint>
#include <vector>

#include "lgp/archive_counts.h"
#include "lgp/lgp_file.h"

namespace lgp {

// The counts of two archives and how the current one differs from the reference one.
struct ArchiveComparison {
    ArchiveCounts current;
    ArchiveCounts reference;
    // Each -1 when the archives are not comparable.
    std::int32_t differentTexts = -1;
    std::int32_t differentWindowedTexts = -1;
    // Entries of windowed texts' window lists whose position or size differ.
    std::int32_t differentWindows = -1;

    bool Comparable() const { return differentTexts >= 0; }
};

// Counts both archives and, when they are comparable (the same numbers of files, levels,
// texts, windowed texts and windows, levels at the same table indices, and level by level the
// same number of texts with window lists of the same lengths), counts the texts whose current
// bytes differ and the window-list entries whose current X, Y, Width or Height differ. Sets
// the CompareMarks entry of every such text of `current` and never clears one, so marks of
// earlier comparisons stay; marks nothing when the archives are not comparable. A level that
// could not be read (Unreadable) in either archive is left out of the comparison in both, its
// texts neither counted nor compared, as if it were missing from both. Throws
// std::out_of_range when a level of `current` has fewer CompareMarks than texts.
ArchiveComparison CompareArchives(TLGPFile& current, const TLGPFile& reference);

// Table indices, in table order, of the levels of `current` that differ from the level at the
// same index of `reference` by the rule of CompareArchives (a text's bytes, a window of a
// text's window list), or in the position or size of any window of their scripts; levels that
// could not be read in either archive are left out. Marks nothing. Throws lgp::FormatError,
// naming both files, when the archives are not comparable.
std::vector<int> DifferentLevels(const TLGPFile& current, const TLGPFile& reference);

}  // namespace lgp
