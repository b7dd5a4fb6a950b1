#include "lzs/decode_stream.h"

#include <memory>

#include "lzs/decoder.h"
#include "lzs/format.h"

namespace lzs {
namespace {

// A payload expands to at most 144 bytes for every 17 (a flag byte and eight 18-byte
// references), so 9 times its size always holds the decoded data.
constexpr std::size_t kMaxExpansion = 9;

}  // namespace

std::vector<std::uint8_t> DecodeStream(std::span<const std::uint8_t> stream) {
    if (stream.size() < kHeaderSize) return {};
    const auto payload = stream.subspan(kHeaderSize);
    const std::size_t capacity = payload.size() * kMaxExpansion;

    // Decoding into a buffer that holds the worst case spares a sizing pass over the payload,
    // and the decoder needs no check of its end. The buffer is left uninitialised, so that only
    // the pages the decoded data reach are ever touched.
    const auto buffer = std::make_unique_for_overwrite<std::uint8_t[]>(capacity);
    const std::size_t size = DecodePayloadWhole(payload, buffer.get());
    return std::vector<std::uint8_t>(buffer.get(), buffer.get() + size);
}

}  // namespace lzs
