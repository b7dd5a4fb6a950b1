#pragma once

#include <cstdint>

// The two routines exported by the corvask library, with C linkage and the C calling
// convention. Names carry their leading underscore in the export table as written here.

#if defined(_WIN32)
#define CORVASK_API __declspec(dllexport)
#else
#define CORVASK_API __attribute__((visibility("default")))
#endif

extern "C" {

// Compresses srcLen bytes at src into a complete LZS stream (4-byte length, then payload) at
// dst, stores the stream's size in *dstLen and returns 1. dst must hold at least
// srcLen + ceil(srcLen / 8) + 4 bytes; its size is not checked.
CORVASK_API std::uint8_t _lzs_compress(const std::uint8_t* src, std::uint32_t srcLen,
                                       std::uint8_t* dst, std::int32_t* dstLen);

// Decodes srcLen payload bytes at src (the 4-byte header excluded) into dst and stores the
// number of bytes produced in *dstLen. dst must hold the decoded data; nothing is written
// past it. A negative srcLen is taken as 0.
CORVASK_API void _lzs_decompress(const std::uint8_t* src, std::int32_t srcLen, std::uint8_t* dst,
                                 std::int32_t* dstLen);
}

namespace lzs {

// Types the editor uses to call the routines it looks up by name.
using LzsCompressFunction = std::uint8_t (*)(const std::uint8_t*, std::uint32_t, std::uint8_t*,
                                             std::int32_t*);
using LzsDecompressFunction = void (*)(const std::uint8_t*, std::int32_t, std::uint8_t*,
                                       std::int32_t*);

}  // namespace lzs
