#pragma once

#include <cstdint>
#include <span>
#include <vector>

// Baselines for the LZS benchmarks: the classic 1989 LZSS design the stream format comes from
// (a 4096-byte ring whose first output byte goes at 4096 - 18, matches of 3 to 18 bytes, binary
// search trees for the encoder), written the way that design does it. The ring starts as zeros
// where the original used spaces, as the game's format requires.
namespace classic {

// Decodes an LZS payload (stream header excluded) byte by byte through a 4096-byte ring.
std::vector<std::uint8_t> DecodeRing(std::span<const std::uint8_t> payload);

// Encodes input as an LZS payload (stream header excluded): greedy, each item the longest
// match found by inserting the current string into a binary search tree of the ring's strings.
std::vector<std::uint8_t> EncodeTree(std::span<const std::uint8_t> input);

}  // namespace classic
