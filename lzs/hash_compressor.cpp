#include "lzs/hash_compressor.h"

#include <bit>
#include <cstring>
#include <limits>

#include "lzs/format.h"

namespace lzs {
namespace {

constexpr std::size_t kTableSize = 4096;
constexpr std::uint32_t kEmptySlot = std::numeric_limits<std::uint32_t>::max();
// Inputs this close to their end are written as literals and not hashed.
constexpr std::size_t kTailLiterals = 15;
constexpr std::size_t kLongestMatch = 16;

std::uint32_t Hash(const std::uint8_t* p) {
    const std::uint32_t mixed = (((static_cast<std::uint32_t>(p[0]) << 4) ^ p[1]) << 4) ^ p[2];
    return ((40543u * mixed) >> 4) & (kTableSize - 1);
}

std::uint64_t Load64(const std::uint8_t* p) {
    std::uint64_t value;
    std::memcpy(&value, p, sizeof value);
    return value;
}

// Number of equal leading bytes of the 16 bytes at a and b (little-endian loads: the lowest
// set bit of a difference belongs to the first unequal byte).
std::size_t CommonPrefix16(const std::uint8_t* a, const std::uint8_t* b) {
    const std::uint64_t low = Load64(a) ^ Load64(b);
    if (low != 0) return static_cast<std::size_t>(std::countr_zero(low)) / 8;
    const std::uint64_t high = Load64(a + 8) ^ Load64(b + 8);
    if (high != 0) return 8 + static_cast<std::size_t>(std::countr_zero(high)) / 8;
    return kLongestMatch;
}

}  // namespace

std::size_t CompressHashed(std::span<const std::uint8_t> src, std::span<std::uint8_t> dst) {
    const std::size_t n = src.size();
    if (n >= std::numeric_limits<std::uint32_t>::max() || dst.size() < MaxStreamSize(n)) return 0;

    std::uint32_t table[kTableSize];
    for (auto& slot : table) slot = kEmptySlot;

    const std::uint8_t* const in = src.data();
    std::uint8_t* const out = dst.data();
    std::size_t outPos = kHeaderSize;
    std::size_t flagPos = outPos++;
    unsigned flags = 0;
    int items = 0;

    std::size_t p = 0;
    while (p < n) {
        std::size_t length = 0;
        std::size_t candidate = 0;
        if (n - p > kTailLiterals) {
            const std::uint32_t h = Hash(in + p);
            const std::uint32_t slot = table[h];
            table[h] = static_cast<std::uint32_t>(p);
            if (slot != kEmptySlot && p - slot >= 1 && p - slot < kWindowSize) {
                // At least 16 bytes remain, so both 16-byte runs lie inside the input.
                const std::size_t common = CommonPrefix16(in + slot, in + p);
                if (common >= kMinMatch) {
                    candidate = slot;
                    length = common;
                }
            }
        }
        if (length == 0) {
            flags |= 1u << items;
            out[outPos++] = in[p++];
        } else {
            PutReference(out + outPos, candidate, length);
            outPos += 2;
            p += length;
        }
        if (++items == 8) {
            out[flagPos] = static_cast<std::uint8_t>(flags);
            flags = 0;
            items = 0;
            flagPos = outPos++;
        }
    }
    if (items == 0) {
        --outPos;  // the reserved flag byte has no items
    } else {
        out[flagPos] = static_cast<std::uint8_t>(flags | (0xFFu << items));
    }
    PutHeader(out, static_cast<std::uint32_t>(outPos - kHeaderSize));
    return outPos;
}

}  // namespace lzs
