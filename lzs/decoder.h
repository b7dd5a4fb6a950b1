#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace lzs {

// Number of bytes the LZS payload (stream header excluded) decodes to. Reads the flag and
// length bits only. A reference cut off by the end of the payload counts for nothing.
std::size_t DecodedSize(std::span<const std::uint8_t> payload);

// Decodes an LZS payload (stream header excluded) into dst and returns the number of bytes
// written. Never reads outside payload nor writes outside dst: decoding stops early when dst
// is full, and a reference cut off by the end of the payload is ignored.
std::size_t DecodePayload(std::span<const std::uint8_t> payload, std::span<std::uint8_t> dst);

// Decodes an LZS payload (stream header excluded) into dst, which must hold at least
// DecodedSize(payload) bytes, and returns that number of bytes written; nothing past them is
// written, so dst may be sized exactly. Reads nothing outside payload; a reference cut off by
// the end of the payload is ignored. One pass: the size is not worked out beforehand.
std::size_t DecodePayloadWhole(std::span<const std::uint8_t> payload, std::uint8_t* dst);

}  // namespace lzs
