#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace lzs {

// Decodes one complete LZS stream (4-byte header, then payload) and returns every byte it
// decodes to; the header's length is not read. A stream shorter than its header decodes to
// nothing, and a reference cut off by the end of the stream is ignored. Never fails.
std::vector<std::uint8_t> DecodeStream(std::span<const std::uint8_t> stream);

}  // namespace lzs
