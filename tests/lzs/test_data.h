#pragma once

#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace lzs_test {

using Bytes = std::vector<std::uint8_t>;

// Kinds of input that exercise different paths of the LZS encoders and decoders.
enum class DataKind {
    kRandom,        // incompressible bytes
    kRuns,          // runs of repeated bytes, long and short
    kRepeats,       // copies of earlier stretches, near and far
    kText,          // English-like words
    kZeroStart,     // a run of zeros first, then mixed data
    kZeroEnd,       // mixed data ending in zeros
    kSmallAlphabet  // few distinct bytes: many equal matches to choose from
};

inline constexpr DataKind kAllKinds[] = {DataKind::kRandom,    DataKind::kRuns,
                                         DataKind::kRepeats,   DataKind::kText,
                                         DataKind::kZeroStart, DataKind::kZeroEnd,
                                         DataKind::kSmallAlphabet};

std::string KindName(DataKind kind);

// Deterministic data of the given kind and size.
Bytes MakeData(DataKind kind, std::size_t size, std::uint32_t seed);

inline Bytes BytesOf(const std::string& text) { return Bytes(text.begin(), text.end()); }

}  // namespace lzs_test
