#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace lzs {

// The library's compressor: greedy, one hash probe per item, matches of 3 to 16 bytes.
// Writes the complete stream (4-byte header, then payload) to dst and returns its size.
// Returns 0 and writes nothing when dst is smaller than MaxStreamSize(src.size()) or src
// is 4 GiB or more. Allocates nothing.
std::size_t CompressHashed(std::span<const std::uint8_t> src, std::span<std::uint8_t> dst);

}  // namespace lzs
