#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace platform {

// The target that a shell link file (.lnk, read whole into `bytes`) records in its LinkInfo:
// the local base path followed by the common path suffix, as a Windows path in UTF-8, from the
// Unicode strings when the link has them, else from the ANSI ones read as Windows-1252. Empty
// when the bytes are not a well-formed link or the link records no local path (a link to a
// network share alone, or one with only an item ID list).
std::string LinkFileTarget(std::span<const std::uint8_t> bytes);

}  // namespace platform
