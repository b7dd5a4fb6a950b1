#pragma once

#include <cstddef>
#include <cstdint>

// Constants and bit layout shared by the LZS encoders and decoders.
namespace lzs {

inline constexpr std::size_t kHeaderSize = 4;
inline constexpr std::size_t kWindowSize = 4096;
// Window index of the first output byte: a reference stores (source - 18) mod 4096.
inline constexpr std::size_t kOffsetBias = 18;
inline constexpr std::size_t kMinMatch = 3;
inline constexpr std::size_t kMaxMatch = 18;

// Window index of a reference, from its two bytes.
constexpr std::size_t ReferenceOffset(std::uint8_t b1, std::uint8_t b2) {
    return b1 | (static_cast<std::size_t>(b2 & 0xF0) << 4);
}

// Number of bytes a reference copies, from its second byte.
constexpr std::size_t ReferenceLength(std::uint8_t b2) { return (b2 & 0x0Fu) + kMinMatch; }

// Writes the reference to `length` bytes starting at uncompressed position `source`.
inline void PutReference(std::uint8_t* dst, std::size_t source, std::size_t length) {
    const std::size_t offset = (source - kOffsetBias) & (kWindowSize - 1);
    dst[0] = static_cast<std::uint8_t>(offset & 0xFF);
    dst[1] = static_cast<std::uint8_t>(((offset >> 4) & 0xF0) | (length - kMinMatch));
}

// Stores the payload length N little-endian in the stream header.
inline void PutHeader(std::uint8_t* dst, std::uint32_t payloadLength) {
    for (int i = 0; i < 4; ++i) dst[i] = static_cast<std::uint8_t>(payloadLength >> (8 * i));
}

// Size of an all-literal stream, the most any LZS compressor here can write for n bytes.
constexpr std::size_t MaxStreamSize(std::size_t n) { return kHeaderSize + n + (n + 7) / 8; }

}  // namespace lzs
