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
    // The exact size lets a caller size dst to the decoded data and no more.
    const std::size_t written = lzs::DecodePayload(payload, {dst, lzs::DecodedSize(payload)});
    *dstLen = static_cast<std::int32_t>(written);
}
}
