#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "lgp/lgp_file.h"
#include "sample/sample_archive.h"

// Helpers shared by the sample archive tests.
namespace sample_test {

using Bytes = std::vector<std::uint8_t>;

// Levels of the small archives most tests use: enough for every text layout.
inline constexpr int kSmallLevels = 12;

// The small archive of the default seed, regular or irregular, made once per test program.
const sample::SampleArchive& SmallArchive(bool irregular);

// The archive's table of contents, read from memory.
TLGPFile ReadTable(const Bytes& archive);
// A sub-file's stored data, and that data decoded as an LZS stream.
Bytes StoredData(const Bytes& archive, const TLGPSubFile& subFile);
Bytes DecodedData(const Bytes& archive, const TLGPSubFile& subFile);

std::uint32_t U16(std::span<const std::uint8_t> bytes, std::size_t position);
std::uint32_t U32(std::span<const std::uint8_t> bytes, std::size_t position);

}  // namespace sample_test
