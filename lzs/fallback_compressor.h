#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace lzs {

// The editor's own compressor, used when the library cannot be loaded. Greedy; for each item
// it takes the longest match within the 4095 bytes before it (the nearest among equals),
// where the window starts as zeros, and codes matches of 3 or more as references. Returns the
// complete stream, header included. Throws std::length_error for inputs of 4 GiB or more.
std::vector<std::uint8_t> CompressFallback(std::span<const std::uint8_t> input);

}  // namespace lzs
