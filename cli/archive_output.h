#pragma once

#include <optional>
#include <string>

#include "lgp/lgp_file.h"

// Saves the edited archive, opened from `path`, safely (SaveArchive with the library
// compressor): to `output` when one is given, else over `path`, and then only when something
// changed, as saving an unchanged archive over itself would only rewrite the same bytes.
// Throws what SaveArchive throws, leaving the target as it was.
void SaveChangedArchive(TLGPFile& archive, const std::string& path,
                        const std::optional<std::string>& output, bool changed);
