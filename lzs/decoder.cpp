#include "lzs/decoder.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "lzs/format.h"

namespace lzs {
namespace {

// The fast loop copies every item as 18 bytes, so it needs a whole group (at most 17 payload
// bytes) plus 18 bytes to read past its last literal, room for eight 18-byte items, and at
// least 18 bytes already produced so that its distance check needs no special case.
constexpr std::ptrdiff_t kFastInputMargin = 1 + 14 + kMaxMatch;
constexpr std::ptrdiff_t kFastOutputMargin = 8 * kMaxMatch;

// Window distance of a reference from the number of bytes produced before it.
std::size_t Distance(std::size_t produced, std::size_t offset) {
    // Unsigned wrap-around is harmless: 2^64 is a multiple of the window size.
    const std::size_t distance = (produced - kOffsetBias - offset) & (kWindowSize - 1);
    // Distance 0 reads the byte a whole window back, as the game's ring buffer does.
    return distance == 0 ? kWindowSize : distance;
}

// Copies a reference of `length` bytes at `distance` to out, where `produced` bytes precede
// out; the caller has made sure that length bytes fit. Returns the new end of the output.
std::uint8_t* CopyReference(std::uint8_t* out, std::size_t produced, std::size_t distance,
                            std::size_t length) {
    if (distance > produced) {
        // The source starts before the first output byte: the window is all zeros there.
        const std::size_t zeros = std::min(length, distance - produced);
        std::memset(out, 0, zeros);
        out += zeros;
        length -= zeros;
    }
    const std::uint8_t* from = out - distance;
    if (distance >= length) {
        std::memcpy(out, from, length);
    } else if (distance == 1) {
        std::memset(out, from[0], length);
    } else {
        // Overlapping source: each byte may be one this reference just produced.
        for (std::size_t i = 0; i < length; ++i) out[i] = from[i];
    }
    return out + length;
}

}  // namespace

std::size_t DecodedSize(std::span<const std::uint8_t> payload) {
    const std::uint8_t* in = payload.data();
    const std::uint8_t* const end = in + payload.size();
    std::size_t produced = 0;
    while (in < end) {
        unsigned flags = *in++;
        if (flags == 0xFF && end - in >= 8) {
            in += 8;
            produced += 8;
            continue;
        }
        for (int item = 0; item < 8 && in < end; ++item, flags >>= 1) {
            if (flags & 1) {
                ++in;
                ++produced;
            } else {
                if (end - in < 2) return produced;
                produced += ReferenceLength(in[1]);
                in += 2;
            }
        }
    }
    return produced;
}

std::size_t DecodePayload(std::span<const std::uint8_t> payload, std::span<std::uint8_t> dst) {
    const std::uint8_t* in = payload.data();
    const std::uint8_t* const inEnd = in + payload.size();
    std::uint8_t* const outBegin = dst.data();
    std::uint8_t* out = outBegin;
    std::uint8_t* const outEnd = outBegin + dst.size();

    while (in < inEnd) {
        if (inEnd - in >= kFastInputMargin && outEnd - out >= kFastOutputMargin &&
            out - outBegin >= static_cast<std::ptrdiff_t>(kMaxMatch)) {
            const unsigned flags = in[0];
            // Field files are mostly literals: a full group of them is one move.
            if (flags == 0xFF) {
                std::memcpy(out, in + 1, 8);
                in += 9;
                out += 8;
                continue;
            }
            // Every item is copied as 18 bytes, from the payload or from the output, without
            // a branch between literal and reference; later items overwrite the excess.
            const std::uint8_t* at = in + 1;
#pragma GCC unroll 8
            for (unsigned item = 0; item < 8; ++item) {
                const unsigned literal = (flags >> item) & 1;
                // All ones for a reference, zero for a literal.
                const std::size_t reference = std::size_t{literal} - 1;
                const std::size_t length = 1 + ((ReferenceLength(at[1]) - 1) & reference);
                const auto produced = static_cast<std::size_t>(out - outBegin);
                const std::size_t distance =
                    (produced - kOffsetBias - ReferenceOffset(at[0], at[1])) & (kWindowSize - 1);
                // Zero for a literal, so that only references can take the slow path: those
                // overlapping the bytes they produce or reaching before the first byte.
                if (((distance - kMaxMatch) & reference) > produced - kMaxMatch) {
                    out = CopyReference(out, produced,
                                        Distance(produced, ReferenceOffset(at[0], at[1])), length);
                } else {
                    const auto literalSource = reinterpret_cast<std::uintptr_t>(at);
                    const auto referenceSource = reinterpret_cast<std::uintptr_t>(out) - distance;
                    const auto* const from = reinterpret_cast<const std::uint8_t*>(
                        literalSource ^ ((literalSource ^ referenceSource) & reference));
                    std::memcpy(out, from, 16);
                    std::memcpy(out + 16, from + 16, 2);
                    out += length;
                }
                at += 2 - literal;
            }
            in = at;
            continue;
        }

        // One group item by item, stopping where the payload or the destination ends.
        unsigned flags = *in++;
        for (int item = 0; item < 8 && in < inEnd; ++item, flags >>= 1) {
            if (out == outEnd) return dst.size();
            if (flags & 1) {
                *out++ = *in++;
                continue;
            }
            if (inEnd - in < 2) return static_cast<std::size_t>(out - outBegin);
            const auto produced = static_cast<std::size_t>(out - outBegin);
            const std::size_t length =
                std::min(ReferenceLength(in[1]), static_cast<std::size_t>(outEnd - out));
            out = CopyReference(out, produced, Distance(produced, ReferenceOffset(in[0], in[1])),
                                length);
            in += 2;
        }
    }
    return static_cast<std::size_t>(out - outBegin);
}

}  // namespace lzs
