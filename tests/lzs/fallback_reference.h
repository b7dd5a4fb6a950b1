#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace lzs_test {

// The fallback compressor as its rules state it: every candidate distance from 2 to 4095
// compared pair by pair, nearest first. Slow; the reference the fast search must equal.
std::vector<std::uint8_t> CompressFallbackReference(std::span<const std::uint8_t> input);

}  // namespace lzs_test
