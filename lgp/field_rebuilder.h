#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "lgp/lgp_file.h"
#include "lgp/lgp_sub_file.h"

namespace lgp {

// True when the sub-file is a level and one of its windows has a current X, Y, Width or
// Height different from the saved one.
bool WindowsChanged(const TLGPSubFile& subFile);

// True when the sub-file is a level and one of its texts differs from its saved text.
bool TextsChanged(const TLGPSubFile& subFile);

// Bytes of the text section the level's current texts make: count, positions and texts.
std::size_t TextSectionSize(const TLGPSubFile& level);

// Largest text section whose 16-bit positions can address every text.
inline constexpr std::size_t kMaxTextSectionSize = 65535;

// Throws lgp::FormatError, naming the level, when its current texts make a text section
// larger than kMaxTextSectionSize.
void CheckTextSectionSize(const TLGPSubFile& level);

// Throws lgp::FormatError, naming the level and the reason, when the level must not be
// rebuilt: it is damaged (its Damage says why), or CheckTextSectionSize refuses it.
void CheckRebuildable(const TLGPSubFile& level);

// The level's field file rebuilt from `decoded` (the field file as the opened archive stores
// it): the text section replaced by the current texts, everything behind it moved, the section
// and Akao positions behind it and the script section's stored length changed by as much as
// its size, every window's current values written into its opcode. A level that was parsed
// without texts keeps its text section. Throws lgp::FormatError when CheckRebuildable refuses
// the level or `decoded` is malformed.
std::vector<std::uint8_t> RebuildFieldFile(const TLGPSubFile& level,
                                           std::span<const std::uint8_t> decoded);

// Same, reading and decoding the level's stored data from the opened archive first. Throws
// what TLGPFile::ReadSubFile throws, too.
std::vector<std::uint8_t> RebuildFieldFile(const TLGPFile& archive, const TLGPSubFile& level);

}  // namespace lgp
