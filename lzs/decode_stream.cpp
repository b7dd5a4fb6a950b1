#include "lzs/decode_stream.h"

#include "lzs/decoder.h"
#include "lzs/format.h"

namespace lzs {
namespace {

// A payload expands to at most 144 bytes for every 17 (a flag byte and eight 18-byte
// references), so 9 times its size always holds the decoded data.
constexpr std::size_t kMaxExpansion = 9;
// Decoding goes through a buffer kept by each thread, which spares a sizing pass over the
// payload; a buffer for an unusually large stream is not kept.
constexpr std::size_t kKeptBufferLimit = 32 << 20;

}  // namespace

std::vector<std::uint8_t> DecodeStream(std::span<const std::uint8_t> stream) {
    if (stream.size() < kHeaderSize) return {};
    const auto payload = stream.subspan(kHeaderSize);
    const std::size_t capacity = payload.size() * kMaxExpansion;

    thread_local std::vector<std::uint8_t> kept;
    std::vector<std::uint8_t> large;
    std::vector<std::uint8_t>& buffer = capacity <= kKeptBufferLimit ? kept : large;
    if (buffer.size() < capacity) buffer.resize(capacity);
    // The buffer holds the whole decoded data, so the decoder needs no check of its end.
    const std::size_t size = DecodePayloadWhole(payload, buffer.data());
    return std::vector<std::uint8_t>(buffer.begin(),
                                     buffer.begin() + static_cast<std::ptrdiff_t>(size));
}

}  // namespace lzs
