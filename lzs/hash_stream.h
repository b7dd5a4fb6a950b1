#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace lzs {

// The library compressor's complete stream of input, in a vector of its exact size. Throws
// std::length_error for inputs of 4 GiB or more.
std::vector<std::uint8_t> CompressHashedStream(std::span<const std::uint8_t> input);

}  // namespace lzs
