#include "lzs/decoder.h"

#include <gtest/gtest.h>

#include "lzs/decode_stream.h"
#include "tests/lzs/ending_payloads.h"
#include "tests/lzs/test_data.h"

namespace {

using lzs_test::Bytes;

struct DecodeCase {
    const char* what;
    Bytes stream;
    Bytes expected;
};

class DecodeStreamTest : public testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeStreamTest, DecodesToExpectedBytes) {
    const DecodeCase& c = GetParam();
    EXPECT_EQ(lzs::DecodeStream(c.stream), c.expected) << c.what;
    if (c.stream.size() >= 4) {
        const std::span<const std::uint8_t> payload(c.stream.data() + 4, c.stream.size() - 4);
        EXPECT_EQ(lzs::DecodedSize(payload), c.expected.size()) << c.what;
        Bytes whole(c.expected.size());
        EXPECT_EQ(lzs::DecodePayloadWhole(payload, whole.data()), c.expected.size()) << c.what;
        EXPECT_EQ(whole, c.expected) << c.what;
    }
}

Bytes Repeat(std::uint8_t value, std::size_t count) { return Bytes(count, value); }

INSTANTIATE_TEST_SUITE_P(
    Streams, DecodeStreamTest,
    testing::Values(
        DecodeCase{"empty stream", {0, 0, 0, 0}, {}},
        DecodeCase{"shorter than its header", {3, 0}, {}},
        DecodeCase{"header length is not read", {99, 0, 0, 0, 0xFF, 'a'}, {'a'}},
        DecodeCase{"three literals, spare bits set", {4, 0, 0, 0, 0xFF, 1, 2, 3}, {1, 2, 3}},
        DecodeCase{"library example",
                   {7, 0, 0, 0, 0xFD, 0x61, 0xEE, 0xFD, 0x61, 0x61, 0x61},
                   Repeat(0x61, 20)},
        DecodeCase{"fallback example",
                   {10, 0, 0, 0, 0x07, 0x61, 0x61, 0x61, 0xEE, 0xF0, 0xEF, 0xF2, 0xF0, 0xF6},
                   Repeat(0x61, 20)},
        DecodeCase{"reference into the initial zero window", {3, 0, 0, 0, 0x00, 0xE9, 0xF2},
                   Repeat(0, 5)},
        DecodeCase{"reference partly before the first byte",
                   // 'a' 'b', then 5 bytes from two positions before the start: 0 0 a b 0.
                   {5, 0, 0, 0, 0x03, 'a', 'b', 0xEC, 0xF2},
                   {'a', 'b', 0, 0, 'a', 'b', 0}},
        DecodeCase{"cut-off last reference is ignored", {3, 0, 0, 0, 0xFD, 'x', 0xEE}, {'x'}},
        DecodeCase{"flag byte alone", {1, 0, 0, 0, 0xFF}, {}},
        // Window index 0xFEF for the second byte is distance 0: read a window back, a zero.
        DecodeCase{"distance zero reads a whole window back",
                   {4, 0, 0, 0, 0xFD, 'x', 0xEF, 0xF0},
                   {'x', 0, 0, 0}}));

TEST(DecodePayloadTest, StopsAtTheEndOfTheDestination) {
    // A literal then a 16-byte reference at distance 1: 17 bytes of 'a'.
    const Bytes payload = {0xFD, 'a', 0xEE, 0xFD, 'b', 'c'};
    for (std::size_t capacity = 0; capacity <= 19; ++capacity) {
        Bytes dst(capacity + 8, 0x55);
        const std::size_t written = lzs::DecodePayload(payload, {dst.data(), capacity});
        const std::size_t expected = std::min<std::size_t>(capacity, 19);
        ASSERT_EQ(written, expected) << "capacity " << capacity;
        for (std::size_t i = capacity; i < dst.size(); ++i) {
            ASSERT_EQ(dst[i], 0x55) << "byte " << i << " past a capacity of " << capacity;
        }
    }
}

TEST(DecodePayloadTest, ExpandsMoreThanEightTimes) {
    // Eight literals, then groups of eight 18-byte references at distance 1: 17 payload bytes
    // give 144 output bytes, well over 8 times.
    Bytes stream = {0, 0, 0, 0, 0xFF, 'z', 0, 0, 0, 0, 0, 0, 0};
    for (int group = 0; group < 100; ++group) {
        stream.push_back(0x00);
        for (int item = 0; item < 8; ++item) {
            const std::size_t produced = 8 + static_cast<std::size_t>(group) * 144 + item * 18;
            const std::size_t offset = (produced - 1 - 18) & 0xFFF;
            stream.push_back(static_cast<std::uint8_t>(offset & 0xFF));
            stream.push_back(static_cast<std::uint8_t>(((offset >> 4) & 0xF0) | 15));
        }
    }
    const Bytes decoded = lzs::DecodeStream(stream);
    ASSERT_GT(decoded.size(), 8 * stream.size());
    EXPECT_EQ(decoded.size(), 8 + 100 * 144u);
    EXPECT_EQ(decoded[0], 'z');
}

// The first `count` bytes, then guard bytes 0xA5 up to `size`.
Bytes Guarded(const Bytes& bytes, std::size_t count, std::size_t size) {
    Bytes guarded(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(count));
    guarded.resize(size, 0xA5);
    return guarded;
}

TEST(DecodePayloadTest, EndsExactlyWhereThePayloadEnds) {
    for (const lzs_test::EndingCase& c : lzs_test::EndingCases()) {
        const std::size_t size = c.expected.size();
        ASSERT_EQ(lzs::DecodedSize(c.payload), size) << c.what;
        Bytes stream = {0, 0, 0, 0};
        stream.insert(stream.end(), c.payload.begin(), c.payload.end());
        ASSERT_EQ(lzs::DecodeStream(stream), c.expected) << c.what;
        // Whole into exactly the decoded size, and into one byte less.
        Bytes whole(size + 32, 0xA5);
        ASSERT_EQ(lzs::DecodePayloadWhole(c.payload, whole.data()), size) << c.what;
        EXPECT_EQ(whole, Guarded(c.expected, size, size + 32)) << c.what;
        if (size == 0) continue;
        Bytes cut(size + 32, 0xA5);
        ASSERT_EQ(lzs::DecodePayload(c.payload, {cut.data(), size - 1}), size - 1) << c.what;
        EXPECT_EQ(cut, Guarded(c.expected, size - 1, size + 32)) << c.what;
    }
}

TEST(DecodePayloadTest, ArbitraryBytesStayInsideTheirBuffers) {
    // Any bytes at all are a payload of some kind; decoding into exactly the decoded size
    // must produce exactly that many bytes, the same with either decoder.
    for (std::uint32_t seed = 0; seed < 500; ++seed) {
        const Bytes payload = lzs_test::MakeData(lzs_test::DataKind::kRandom, seed % 300, seed);
        Bytes dst(lzs::DecodedSize(payload));
        ASSERT_EQ(lzs::DecodePayload(payload, dst), dst.size()) << "seed " << seed;
        Bytes whole(dst.size());
        ASSERT_EQ(lzs::DecodePayloadWhole(payload, whole.data()), dst.size()) << "seed " << seed;
        EXPECT_EQ(whole, dst) << "seed " << seed;
    }
}

}  // namespace
