#pragma once

#include <string>

class QImage;

namespace cli {

// Writes the picture to path as a PNG file, as every output of the command line is written
// (WriteWholeFile: a temporary file put in place once complete, refused for a folder, a FIFO,
// a read-only file or one with several hard links). Throws std::runtime_error when the
// picture cannot be encoded, and what WriteWholeFile throws.
void WritePngFile(const std::string& path, const QImage& picture);

}  // namespace cli
