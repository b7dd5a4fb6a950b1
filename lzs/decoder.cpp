#include "lzs/decoder.h"

#include <algorithm>
#include <cstring>

#include "lzs/format.h"

namespace lzs {

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
        unsigned flags = *in++;
        // Field files are mostly literals: a full group of them is one move.
        if (flags == 0xFF && inEnd - in >= 8 && outEnd - out >= 8) {
            std::memcpy(out, in, 8);
            in += 8;
            out += 8;
            continue;
        }
        for (int item = 0; item < 8 && in < inEnd; ++item, flags >>= 1) {
            if (flags & 1) {
                if (out == outEnd) return dst.size();
                *out++ = *in++;
                continue;
            }
            if (inEnd - in < 2) return static_cast<std::size_t>(out - outBegin);
            if (out == outEnd) return dst.size();
            const std::size_t offset = ReferenceOffset(in[0], in[1]);
            std::size_t length = ReferenceLength(in[1]);
            in += 2;

            const auto produced = static_cast<std::size_t>(out - outBegin);
            // Unsigned wrap-around is harmless: 2^64 is a multiple of the window size.
            std::size_t distance = (produced - kOffsetBias - offset) & (kWindowSize - 1);
            // Distance 0 reads the byte a whole window back, as the game's ring buffer does.
            if (distance == 0) distance = kWindowSize;
            length = std::min(length, static_cast<std::size_t>(outEnd - out));

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
            out += length;
        }
    }
    return static_cast<std::size_t>(out - outBegin);
}

}  // namespace lzs
