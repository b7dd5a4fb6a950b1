#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace lgp {

// The game's modding layer loads a level's sections from separate chunk files, chunk 1 being
// the script section (entities, scripts, texts, Akao blocks) without its 4-byte length. These
// take that chunk out of a decoded field file and put one in.

// The script section of a decoded field file, without its length. Throws lgp::FormatError when
// the header or the section's stored length points outside the data.
std::vector<std::uint8_t> ScriptChunk(std::span<const std::uint8_t> decoded);

// The decoded field file with its script section replaced by `chunk`: the section's stored
// length set to the chunk's size and the positions of the sections after it (P2 to P9) moved by
// the change in size. Throws lgp::FormatError when the header or the section's stored length
// points outside the data or the section starts inside the header.
std::vector<std::uint8_t> PutScriptChunk(std::span<const std::uint8_t> decoded,
                                         std::span<const std::uint8_t> chunk);

}  // namespace lgp
