#include "lzs/fallback_compressor.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstring>
#include <limits>
#include <memory>
#include <stdexcept>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "lzs/format.h"

namespace lzs {
namespace {

// The input is searched in a work buffer: this many zero bytes (the initial window), the
// input, then zero padding so that comparisons never need a bounds check.
constexpr std::size_t kPrefix = kWindowSize - 1;
constexpr std::size_t kPadding = 64;
// Candidates nearer than this have a shorter longest match and are searched one by one;
// farther ones are found through hash chains.
constexpr std::size_t kFirstChained = 19;
constexpr int kHashBits = 16;
constexpr std::uint32_t kNone = std::numeric_limits<std::uint32_t>::max();

// Longest count a candidate at distance d can reach: its source must end at least one byte
// before the current position, and two bytes before it when d is even.
constexpr std::size_t DistanceLimit(std::size_t d) {
    if (d < 3) return 0;
    if (d >= kFirstChained) return kMaxMatch;
    return (d % 2 == 1) ? d : d - 1;
}

std::uint64_t Load64(const std::uint8_t* p) {
    std::uint64_t value;
    std::memcpy(&value, p, sizeof value);
    return value;
}

// Number of equal leading bytes of a and b, at most limit (which is at most 18). Reads up to
// 24 bytes from each, which the work buffer's padding allows.
std::size_t CommonPrefix(const std::uint8_t* a, const std::uint8_t* b, std::size_t limit) {
    for (std::size_t n = 0; n < limit; n += 8) {
        const std::uint64_t difference = Load64(a + n) ^ Load64(b + n);
        if (difference != 0) {
            // Little-endian: the lowest set bit belongs to the first differing byte.
            return std::min(limit, n + static_cast<std::size_t>(std::countr_zero(difference)) / 8);
        }
    }
    return limit;
}

// True when the 18 bytes at a and b are equal.
bool SameLongestMatch(const std::uint8_t* a, const std::uint8_t* b) {
    return Load64(a) == Load64(b) && Load64(a + 8) == Load64(b + 8) &&
           (Load64(a + 10) == Load64(b + 10));
}

// Bit 15 - k (k = 0 to 15) set when the three bytes at distance k + 3 before `here` equal the
// three bytes at `here`: the near candidates worth comparing, nearest in the highest bit.
unsigned NearCandidates(const std::uint8_t* here) {
#if defined(__SSE2__)
    const auto load = [](const std::uint8_t* p) {
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    };
    const auto first = _mm_cmpeq_epi8(load(here - 18), _mm_set1_epi8(static_cast<char>(here[0])));
    const auto second = _mm_cmpeq_epi8(load(here - 17), _mm_set1_epi8(static_cast<char>(here[1])));
    const auto third = _mm_cmpeq_epi8(load(here - 16), _mm_set1_epi8(static_cast<char>(here[2])));
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(_mm_and_si128(first, second), third)));
#else
    unsigned candidates = 0;
    for (unsigned lane = 0; lane < 16; ++lane) {
        const std::uint8_t* from = here - 18 + lane;
        if (from[0] == here[0] && from[1] == here[1] && from[2] == here[2]) candidates |= 1u << lane;
    }
    return candidates;
#endif
}

std::uint32_t Hash(const std::uint8_t* p) {
    const std::uint32_t key = (std::uint32_t{p[0]} << 16) | (std::uint32_t{p[1]} << 8) | p[2];
    return (key * 2654435761u) >> (32 - kHashBits);
}

// Candidate positions by their first three bytes, nearest first. A position whose next 18
// bytes equal those of a later position with the same hash is unlinked when the later one
// comes in: the later one is nearer and matches exactly as far, so it always wins the tie.
class MatchChains {
public:
    explicit MatchChains(const std::vector<std::uint8_t>& work)
        : work_(work),
          heads_(std::size_t{1} << kHashBits, kNone),
          // Each entry is written when its position comes in, before any read.
          previous_(new std::uint32_t[work.size()]) {}

    // Enters every position below `limit` not entered yet.
    void InsertBelow(std::size_t limit) {
        for (; next_ < limit; ++next_) {
            const std::uint8_t* bytes = work_.data() + next_;
            const std::uint32_t h = Hash(bytes);
            std::uint32_t head = heads_[h];
            if (head != kNone && SameLongestMatch(work_.data() + head, bytes)) {
                head = previous_[head];
            }
            previous_[next_] = head;
            heads_[h] = static_cast<std::uint32_t>(next_);
        }
    }

    std::uint32_t Head(const std::uint8_t* bytes) const { return heads_[Hash(bytes)]; }
    std::uint32_t Previous(std::uint32_t position) const { return previous_[position]; }

private:
    const std::vector<std::uint8_t>& work_;
    std::vector<std::uint32_t> heads_;
    std::unique_ptr<std::uint32_t[]> previous_;
    std::size_t next_ = 0;
};

struct Match {
    std::size_t length = 0;
    std::size_t distance = 0;
};

Match FindMatch(const std::vector<std::uint8_t>& work, MatchChains& chains, std::size_t p,
                std::size_t remaining) {
    Match best;
    const std::size_t target = std::min(kMaxMatch, remaining);
    if (target < kMinMatch) return best;
    const std::uint8_t* here = work.data() + p;

    // Only matches of 3 bytes or more can become references, so a shorter best never decides.
    for (unsigned candidates = NearCandidates(here); candidates != 0;) {
        const int lane = std::bit_width(candidates) - 1;
        candidates &= ~(1u << lane);
        const std::size_t d = kFirstChained - 1 - static_cast<std::size_t>(lane);
        const std::size_t length = CommonPrefix(here - d, here, std::min(DistanceLimit(d), target));
        if (length > best.length) {
            best = {length, d};
            if (length == target) return best;
        }
    }

    chains.InsertBelow(p - kFirstChained + 1);
    for (std::uint32_t c = chains.Head(here); c != kNone && p - c < kWindowSize;
         c = chains.Previous(c)) {
        const std::size_t length = CommonPrefix(work.data() + c, here, target);
        if (length > best.length) {
            best = {length, p - c};
            if (length == target) break;
        }
    }
    return best;
}

}  // namespace

std::vector<std::uint8_t> CompressFallback(std::span<const std::uint8_t> input) {
    const std::size_t n = input.size();
    if (n >= std::numeric_limits<std::uint32_t>::max() - kPrefix - kPadding) {
        throw std::length_error("LZS input of 4 GiB or more");
    }
    std::vector<std::uint8_t> work(kPrefix + n + kPadding, 0);
    std::copy(input.begin(), input.end(), work.begin() + kPrefix);
    MatchChains chains(work);

    std::vector<std::uint8_t> out(MaxStreamSize(n));
    std::size_t outPos = kHeaderSize;
    std::size_t flagPos = 0;
    unsigned flags = 0;
    int items = 0;

    const std::size_t end = kPrefix + n;
    for (std::size_t p = kPrefix; p < end;) {
        if (items == 0) flagPos = outPos++;
        const Match match = FindMatch(work, chains, p, end - p);
        if (match.length >= kMinMatch) {
            PutReference(out.data() + outPos, p - match.distance - kPrefix, match.length);
            outPos += 2;
            p += match.length;
        } else {
            flags |= 1u << items;
            out[outPos++] = work[p++];
        }
        if (++items == 8 || p == end) {
            out[flagPos] = static_cast<std::uint8_t>(flags);
            flags = 0;
            items = 0;
        }
    }
    out.resize(outPos);
    PutHeader(out.data(), static_cast<std::uint32_t>(outPos - kHeaderSize));
    return out;
}

}  // namespace lzs
