#include "bench/classic_lzss.h"

#include <algorithm>
#include <array>
#include <memory>

namespace classic {
namespace {

constexpr int kRingSize = 4096;
constexpr int kRingMask = kRingSize - 1;
constexpr int kMaxLength = 18;
// Matches this long or shorter are cheaper as literals.
constexpr int kThreshold = 2;
constexpr int kStart = kRingSize - kMaxLength;
// Node index meaning "no node"; the roots of the 256 trees follow it.
constexpr int kNil = kRingSize;

// The ring with its binary search trees: one tree per first byte, holding the ring positions
// whose 18-byte strings are in the window, ordered by those strings. Inserting a position
// walks its tree and so finds the longest match on the way.
class MatchTree {
public:
    MatchTree() {
        ring_.fill(0);
        std::fill(right_.begin() + kRingSize + 1, right_.end(), kNil);
        parent_.fill(kNil);
    }

    // The ring, followed by a copy of its first 17 bytes so that strings need no wrapping.
    std::uint8_t* Ring() { return ring_.data(); }
    int MatchPosition() const { return matchPosition_; }
    int MatchLength() const { return matchLength_; }

    // Inserts the string at r and records the longest match found for it. A string equal over
    // all 18 bytes replaces the older node, which is nearer to leaving the window.
    void Insert(int r) {
        const std::uint8_t* key = &ring_[r];
        int p = kRingSize + 1 + key[0];
        int cmp = 1;
        left_[r] = right_[r] = kNil;
        matchLength_ = 0;
        for (;;) {
            if (cmp >= 0) {
                if (right_[p] == kNil) {
                    right_[p] = r;
                    parent_[r] = p;
                    return;
                }
                p = right_[p];
            } else {
                if (left_[p] == kNil) {
                    left_[p] = r;
                    parent_[r] = p;
                    return;
                }
                p = left_[p];
            }
            int i = 1;
            for (; i < kMaxLength; ++i) {
                cmp = key[i] - ring_[p + i];
                if (cmp != 0) break;
            }
            if (i > matchLength_) {
                matchPosition_ = p;
                matchLength_ = i;
                if (i >= kMaxLength) break;
            }
        }
        parent_[r] = parent_[p];
        left_[r] = left_[p];
        right_[r] = right_[p];
        parent_[left_[p]] = r;
        parent_[right_[p]] = r;
        if (right_[parent_[p]] == p) {
            right_[parent_[p]] = r;
        } else {
            left_[parent_[p]] = r;
        }
        parent_[p] = kNil;
    }

    // Removes the string at p, if it is in a tree, before its ring bytes are overwritten.
    void Delete(int p) {
        if (parent_[p] == kNil) return;
        int q;
        if (right_[p] == kNil) {
            q = left_[p];
        } else if (left_[p] == kNil) {
            q = right_[p];
        } else {
            q = left_[p];
            if (right_[q] != kNil) {
                do {
                    q = right_[q];
                } while (right_[q] != kNil);
                right_[parent_[q]] = left_[q];
                parent_[left_[q]] = parent_[q];
                left_[q] = left_[p];
                parent_[left_[p]] = q;
            }
            right_[q] = right_[p];
            parent_[right_[p]] = q;
        }
        parent_[q] = parent_[p];
        if (right_[parent_[p]] == p) {
            right_[parent_[p]] = q;
        } else {
            left_[parent_[p]] = q;
        }
        parent_[p] = kNil;
    }

private:
    std::array<std::uint8_t, kRingSize + kMaxLength - 1> ring_;
    std::array<int, kRingSize + 1> left_;
    std::array<int, kRingSize + 257> right_;
    std::array<int, kRingSize + 1> parent_;
    int matchPosition_ = 0;
    int matchLength_ = 0;
};

}  // namespace

std::vector<std::uint8_t> DecodeRing(std::span<const std::uint8_t> payload) {
    std::array<std::uint8_t, kRingSize> ring{};
    std::vector<std::uint8_t> out;
    int r = kStart;
    std::size_t in = 0;
    const std::size_t end = payload.size();
    // The high byte counts the flag bits left: a group ends when bit 8 shifts out.
    unsigned flags = 0;
    for (;;) {
        if (((flags >>= 1) & 0x100) == 0) {
            if (in == end) break;
            flags = payload[in++] | 0xFF00u;
        }
        if (flags & 1) {
            if (in == end) break;
            const std::uint8_t c = payload[in++];
            out.push_back(c);
            ring[r++] = c;
            r &= kRingMask;
        } else {
            if (end - in < 2) break;
            const int position = payload[in] | ((payload[in + 1] & 0xF0) << 4);
            const int last = (payload[in + 1] & 0x0F) + kThreshold;
            in += 2;
            for (int k = 0; k <= last; ++k) {
                const std::uint8_t c = ring[(position + k) & kRingMask];
                out.push_back(c);
                ring[r++] = c;
                r &= kRingMask;
            }
        }
    }
    return out;
}

std::vector<std::uint8_t> EncodeTree(std::span<const std::uint8_t> input) {
    // About 50 KB of trees: kept off the stack.
    const auto tree = std::make_unique<MatchTree>();
    std::uint8_t* const ring = tree->Ring();
    std::vector<std::uint8_t> out;
    out.reserve(input.size() + input.size() / 8 + 1);

    // A flag byte and up to 8 items, written out when full.
    std::array<std::uint8_t, 1 + 8 * 2> group{};
    int groupSize = 1;
    unsigned mask = 1;

    std::size_t next = 0;
    int s = 0;
    int r = kStart;
    int length = 0;  // bytes in the look-ahead, from r on
    for (; length < kMaxLength && next < input.size(); ++length) ring[r + length] = input[next++];
    if (length == 0) return out;
    // The zeros before the first byte are strings the first matches may use.
    for (int i = 1; i <= kMaxLength; ++i) tree->Insert(r - i);
    tree->Insert(r);

    do {
        int matchLength = std::min(tree->MatchLength(), length);
        if (matchLength <= kThreshold) {
            matchLength = 1;
            group[0] |= mask;
            group[groupSize++] = ring[r];
        } else {
            const int position = tree->MatchPosition();
            group[groupSize++] = static_cast<std::uint8_t>(position);
            group[groupSize++] = static_cast<std::uint8_t>(((position >> 4) & 0xF0) |
                                                           (matchLength - (kThreshold + 1)));
        }
        if ((mask <<= 1) == 0x100) {
            out.insert(out.end(), group.begin(), group.begin() + groupSize);
            group[0] = 0;
            groupSize = 1;
            mask = 1;
        }
        // Slide the window by the item's length, reading new bytes into the look-ahead.
        int i = 0;
        for (; i < matchLength && next < input.size(); ++i) {
            tree->Delete(s);
            ring[s] = input[next++];
            if (s < kMaxLength - 1) ring[s + kRingSize] = ring[s];
            s = (s + 1) & kRingMask;
            r = (r + 1) & kRingMask;
            tree->Insert(r);
        }
        // Past the end of the input the look-ahead only shrinks.
        for (; i < matchLength; ++i) {
            tree->Delete(s);
            s = (s + 1) & kRingMask;
            r = (r + 1) & kRingMask;
            if (--length > 0) tree->Insert(r);
        }
    } while (length > 0);
    if (groupSize > 1) out.insert(out.end(), group.begin(), group.begin() + groupSize);
    return out;
}

}  // namespace classic
