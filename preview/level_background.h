#pragma once

#include <cstdint>
#include <span>

#include <QImage>

class TLGPFile;
class TLGPSubFile;

namespace preview {

// The largest background drawn, in pixels: sixteen times a 1024 x 1024 picture. A larger
// width x height can only come from a damaged file and would need gigabytes.
inline constexpr std::int64_t kMaxBackgroundPixels = std::int64_t{4096} * 4096;

// Assembles a level's background from its decoded field file: the tiles of layer 1, then of
// layer 2, each in file order, copied from the texture pages through the palettes, with red
// and blue exchanged; index 0 is transparent, and a byte, palette entry or pixel outside the
// file or the picture is skipped. Returns a W x H picture in QImage::Format_RGB555 (red in
// bits 10-14), black where no tile draws, or a null picture when W or H is 0. Throws
// lgp::FormatError, saying what is missing, when the file is too short for the header fields
// or the tile lists, or when W x H passes kMaxBackgroundPixels.
QImage BuildLevelBackground(std::span<const std::uint8_t> fieldFile);

// Reads a level's field file from the archive and builds its background. Throws
// lgp::FileError or lgp::FormatError, naming the level, when the file cannot be read, decoded
// or drawn.
QImage ReadLevelBackground(const TLGPFile& archive, const TLGPSubFile& level);

}  // namespace preview
