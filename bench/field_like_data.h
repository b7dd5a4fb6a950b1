#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace lzs_bench {

// Stand-in for an uncompressed field file of about 350 KB, the same for a given seed and standard
// library (the <random> distributions differ between libraries): an event script with
// its dialogue, some zero padding, then background texture pages of a painted picture
// (palette-indexed, 16x16 tiles, flat areas and unused zero tiles included). The pages make up
// most of it, as in the game, and the whole compresses to about 70% with the library compressor.
std::vector<std::uint8_t> MakeFieldLikeData(std::uint32_t seed);

// Uniformly random bytes: the incompressible worst case.
std::vector<std::uint8_t> MakeRandomData(std::size_t size, std::uint32_t seed);

}  // namespace lzs_bench
