#include "lzs/decoder.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "lzs/format.h"

namespace lzs {
namespace {

// The fast loop decodes a whole group at a time and copies every item as 18 bytes, so an item
// may write up to 17 bytes past its own end; later items, or later groups, overwrite them.
// It reads a whole group (at most 17 payload bytes) and 18 bytes from its last literal on.
constexpr std::ptrdiff_t kLongestGroup = 1 + 8 * 2;
// The payload after the group must promise that more than 17 further bytes are decoded, so that
// those excess bytes still fall inside the decoded data. Every payload byte but the flag bytes
// decodes to at least one byte, except a reference cut off by the end of the payload: 22 bytes,
// at most three of them flag bytes, promise at least 18.
constexpr std::ptrdiff_t kPromisingTail = 22;
constexpr std::ptrdiff_t kFastInputMargin = kLongestGroup + kPromisingTail;
static_assert(kFastInputMargin >= 1 + 14 + static_cast<std::ptrdiff_t>(kMaxMatch));
// With a destination smaller than the decoded data, the group's writes must also fit in it.
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

// Decodes the payload into out. With kBounded, stops where outEnd is reached; without, out must
// hold the whole decoded data and nothing is written past it (outEnd is not used).
template <bool kBounded>
std::size_t Decode(std::span<const std::uint8_t> payload, std::uint8_t* const outBegin,
                   std::uint8_t* const outEnd) {
    const std::uint8_t* in = payload.data();
    const std::uint8_t* const inEnd = in + payload.size();
    std::uint8_t* out = outBegin;

    while (in < inEnd) {
        // At least 18 bytes produced spare the distance check a special case.
        if (inEnd - in >= kFastInputMargin &&
            out - outBegin >= static_cast<std::ptrdiff_t>(kMaxMatch) &&
            (!kBounded || outEnd - out >= kFastOutputMargin)) {
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
            auto produced = static_cast<std::size_t>(out - outBegin);
#pragma GCC unroll 8
            for (unsigned item = 0; item < 8; ++item) {
                const std::size_t literal = (flags >> item) & 1;
                // All ones for a reference, zero for a literal.
                const std::size_t reference = literal - 1;
                const std::size_t length = 1 + ((ReferenceLength(at[1]) - 1) & reference);
                const std::size_t distance =
                    (produced - kOffsetBias - ReferenceOffset(at[0], at[1])) & (kWindowSize - 1);
                std::uint8_t* const to = outBegin + produced;
                // Only references take the careful path (the mask makes the left side zero for
                // a literal): those overlapping the bytes they produce, reaching before the
                // first byte, or at distance 0. The left side wraps around when length > distance.
                if (((distance - length) & reference) > produced - length) [[unlikely]] {
                    CopyReference(to, produced, Distance(produced, ReferenceOffset(at[0], at[1])),
                                  length);
                } else {
                    // A source less than 18 bytes back runs into this copy; what it reads there
                    // lands in the excess, past the reference's length.
                    const std::uint8_t* const from = literal ? at : to - distance;
                    std::uint8_t chunk[16];
                    std::memcpy(chunk, from, 16);
                    std::memcpy(to, chunk, 16);
                    std::memcpy(chunk, from + 16, 2);
                    std::memcpy(to + 16, chunk, 2);
                }
                produced += length;
                at += 2 - literal;
            }
            out = outBegin + produced;
            in = at;
            continue;
        }

        // One group item by item, stopping where the payload or the destination ends.
        unsigned flags = *in++;
        for (int item = 0; item < 8 && in < inEnd; ++item, flags >>= 1) {
            if (kBounded && out == outEnd) break;
            if (flags & 1) {
                *out++ = *in++;
                continue;
            }
            if (inEnd - in < 2) return static_cast<std::size_t>(out - outBegin);
            const auto produced = static_cast<std::size_t>(out - outBegin);
            std::size_t length = ReferenceLength(in[1]);
            if (kBounded) length = std::min(length, static_cast<std::size_t>(outEnd - out));
            out = CopyReference(out, produced, Distance(produced, ReferenceOffset(in[0], in[1])),
                                length);
            in += 2;
        }
        if (kBounded && out == outEnd) break;
    }
    return static_cast<std::size_t>(out - outBegin);
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
    return Decode<true>(payload, dst.data(), dst.data() + dst.size());
}

std::size_t DecodePayloadWhole(std::span<const std::uint8_t> payload, std::uint8_t* dst) {
    return Decode<false>(payload, dst, nullptr);
}

}  // namespace lzs
