// Round trip of both compressors: whatever the input, the stream decodes back to it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "lzs/decode_stream.h"
#include "lzs/fallback_compressor.h"
#include "lzs/format.h"
#include "lzs/hash_stream.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> input(data, size);

    const auto decodedLibrary = lzs::DecodeStream(lzs::CompressHashedStream(input));
    if (!std::equal(decodedLibrary.begin(), decodedLibrary.end(), input.begin(), input.end())) {
        std::abort();
    }

    const auto fallback = lzs::CompressFallback(input);
    if (fallback.size() > lzs::MaxStreamSize(size)) std::abort();
    const auto decodedFallback = lzs::DecodeStream(fallback);
    if (!std::equal(decodedFallback.begin(), decodedFallback.end(), input.begin(), input.end())) {
        std::abort();
    }
    return 0;
}
