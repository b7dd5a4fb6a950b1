#include "lzs/corvask.h"

#include <cstddef>
#include <span>

#include "lzs/decoder.h"
#include "lzs/format.h"
#include "lzs/hash_compressor.h"

extern "C" {

CORVASK_API std::uint8_t _lzs_compress(const std::uint8_t* src, std::uint32_t srcLen,
                                       std::uint8_t* dst, std::int32_t* dstLen) {
    const std::span<const std::uint8_t> input(src, srcLen);
    const std::size_t written = lzs::CompressHashed(input, {dst, lzs::MaxStreamSize(srcLen)});
    *dstLen = static_cast<std::int32_t>(written);
    return 1;
}

CORVASK_API void _lzs_decompress(const std::uint8_t* src, std::int32_t srcLen, std::uint8_t* dst,
                                 std::int32_t* dstLen) {
    const std::span<const std::uint8_t> payload(src, srcLen > 0 ? srcLen : 0);
    // Writes nothing past the decoded data, so a caller may size dst to it exactly.
    const std::size_t written = lzs::DecodePayloadWhole(payload, dst);
    *dstLen = static_cast<std::int32_t>(written);
}
}
