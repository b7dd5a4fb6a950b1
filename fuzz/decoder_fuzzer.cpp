// Never-crash target of the LZS decoders: any bytes, decoded whole and into short buffers.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "lzs/decode_stream.h"
#include "lzs/decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> input(data, size);
    const std::vector<std::uint8_t> whole = lzs::DecodeStream(input);
    if (size < 4) return 0;

    const auto payload = input.subspan(4);
    const std::size_t decodedSize = lzs::DecodedSize(payload);
    if (decodedSize != whole.size()) std::abort();
    // A buffer cut short gets a prefix of the whole result; the sanitizer sees any overrun.
    const std::size_t capacity = decodedSize * data[0] / 255;
    std::vector<std::uint8_t> shortBuffer(capacity);
    if (lzs::DecodePayload(payload, shortBuffer) != capacity) std::abort();
    if (!std::equal(shortBuffer.begin(), shortBuffer.end(), whole.begin())) std::abort();
    return 0;
}
