#pragma once

#include <optional>

#include <QString>

#include "lgp/archive_compare.h"

// A comparison as the result window shows it: both file names and the counts.
struct TFilesComparison {
    QString currentFile;
    QString referenceFile;
    lgp::ArchiveComparison counts;
};

namespace jobs {

// The result of the last comparison, kept for the program's life; none before the first
// comparison has ended. Safe to call from any thread.
std::optional<TFilesComparison> LastComparison();
// Replaces the last comparison.
void StoreLastComparison(TFilesComparison comparison);

}  // namespace jobs
