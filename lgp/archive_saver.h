#pragma once

#include <string>

#include "lgp/archive_writer.h"
#include "lgp/lgp_file.h"

// Saves the archive to `target` safely: writes a temporary file beside it (for a target named
// levels.lgp: levels.~lgp, or levels.~~lgp when that exists, ...), flushes it to disk, and only
// then puts it in place of the target in one step; a read-only target is made writable first.
// When the target is the archive's own file, the written state then becomes the saved state
// (offsets, lengths, saved texts and window values) and the archive is read from the new
// file. On any failure the temporary file is removed, the target is left as it was, and the
// archive stays open and usable with its changes pending; the error is rethrown
// (lgp::FileError or lgp::FormatError).
void SaveArchive(TLGPFile& archive, const std::string& target, const Compressor& compress,
                 const WriteProgress& progress = {}, bool adoptTarget = false);
