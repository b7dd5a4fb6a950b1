// Never-crash target of the LZS decoders: any bytes, decoded whole, into exactly the decoded
// size (by the editor's decoder and by the library's export) and into short buffers.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "lzs/corvask.h"
#include "lzs/decode_stream.h"
#include "lzs/decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> input(data, size);
    const std::vector<std::uint8_t> whole = lzs::DecodeStream(input);
    if (size < 4) return 0;

    const auto payload = input.subspan(4);
    const std::size_t decodedSize = lzs::DecodedSize(payload);
    if (decodedSize != whole.size()) std::abort();
    // Buffers of exactly the decoded size, on the heap, so that the sanitizer sees any overrun.
    const auto exact = std::make_unique<std::uint8_t[]>(decodedSize);
    if (lzs::DecodePayloadWhole(payload, exact.get()) != decodedSize) std::abort();
    if (!std::equal(whole.begin(), whole.end(), exact.get())) std::abort();
    const auto exported = std::make_unique<std::uint8_t[]>(decodedSize);
    std::int32_t produced = -1;
    _lzs_decompress(payload.data(), static_cast<std::int32_t>(payload.size()), exported.get(),
                    &produced);
    if (produced != static_cast<std::int32_t>(decodedSize)) std::abort();
    if (!std::equal(whole.begin(), whole.end(), exported.get())) std::abort();

    // A buffer cut short gets a prefix of the whole result.
    const std::size_t capacity = decodedSize * data[0] / 255;
    std::vector<std::uint8_t> shortBuffer(capacity);
    if (lzs::DecodePayload(payload, shortBuffer) != capacity) std::abort();
    if (!std::equal(shortBuffer.begin(), shortBuffer.end(), whole.begin())) std::abort();
    return 0;
}
