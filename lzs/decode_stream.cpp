#include "lzs/decode_stream.h"

#include "lzs/decoder.h"
#include "lzs/format.h"

namespace lzs {

std::vector<std::uint8_t> DecodeStream(std::span<const std::uint8_t> stream) {
    if (stream.size() < kHeaderSize) return {};
    const auto payload = stream.subspan(kHeaderSize);
    // Sized from the payload itself: a stream may expand to about 8.5 times its size.
    std::vector<std::uint8_t> out(DecodedSize(payload));
    DecodePayload(payload, out);
    return out;
}

}  // namespace lzs
