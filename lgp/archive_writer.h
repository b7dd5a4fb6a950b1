#pragma once

#include <functional>
#include <ostream>
#include <span>
#include <vector>

#include "lgp/lgp_file.h"

namespace lgp {

// Compresses a rebuilt field file into a complete LZS stream. Called from several threads at
// once: it must be safe to use so.
using Compressor = std::function<std::vector<std::uint8_t>(std::span<const std::uint8_t>)>;
// Called with the index, in the order of writing, of the sub-file reached; always on the thread
// that writes the archive.
using WriteProgress = std::function<void(int reached)>;

// Writes the whole new archive to `target` (which must be seekable): the header with the
// creator re-padded, every unchanged sub-file with the bytes that follow it copied from the
// opened file in runs, every level whose texts or windows changed rebuilt and compressed with
// `compress`, the table of contents, and the terminator; everything is read through Stream.
// Sets every sub-file's NewOffset and NewLength. The changed levels are rebuilt and compressed
// on `threads` threads (0: one per core), a few levels ahead of the writing; the output is the
// same for any number. Throws lgp::FileError for a read or write that fails and
// lgp::FormatError for a level that cannot be rebuilt, damaged or too large (checked for every
// changed level before anything is written); when several fail, the error is the one met first
// in the order of writing, and whatever `compress` throws is passed on the same way. A damaged
// level that is not changed is copied byte for byte.
void WriteArchive(TLGPFile& archive, std::ostream& target, const Compressor& compress,
                  const WriteProgress& progress = {}, unsigned threads = 0);

}  // namespace lgp
