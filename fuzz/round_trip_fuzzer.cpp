// Round trip of both compressors: whatever the input, the stream decodes back to it, with the
// editor's decoder and with the library's exports into a buffer of exactly the input's size.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "lzs/corvask.h"
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

    std::vector<std::uint8_t> stream(lzs::MaxStreamSize(size));
    std::int32_t streamSize = -1;
    _lzs_compress(data, static_cast<std::uint32_t>(size), stream.data(), &streamSize);
    const auto exported = std::make_unique<std::uint8_t[]>(size);
    std::int32_t produced = -1;
    _lzs_decompress(stream.data() + 4, streamSize - 4, exported.get(), &produced);
    if (produced != static_cast<std::int32_t>(size)) std::abort();
    if (!std::equal(input.begin(), input.end(), exported.get())) std::abort();

    const auto fallback = lzs::CompressFallback(input);
    if (fallback.size() > lzs::MaxStreamSize(size)) std::abort();
    const auto decodedFallback = lzs::DecodeStream(fallback);
    if (!std::equal(decodedFallback.begin(), decodedFallback.end(), input.begin(), input.end())) {
        std::abort();
    }
    return 0;
}
