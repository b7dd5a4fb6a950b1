#include "lzs/hash_compressor.h"

#include <gtest/gtest.h>

#include "lzs/decode_stream.h"
#include "lzs/format.h"
#include "lzs/hash_stream.h"
#include "tests/lzs/test_data.h"

namespace {

using lzs_test::Bytes;

Bytes Compress(const Bytes& input) { return lzs::CompressHashedStream(input); }

struct CompressCase {
    const char* what;
    Bytes input;
    Bytes expected;
};

class HashCompressorTest : public testing::TestWithParam<CompressCase> {};

TEST_P(HashCompressorTest, WritesTheExactStream) {
    const CompressCase& c = GetParam();
    EXPECT_EQ(Compress(c.input), c.expected) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Examples, HashCompressorTest,
    testing::Values(
        CompressCase{"empty input", {}, {0, 0, 0, 0}},
        CompressCase{"three bytes", {1, 2, 3}, {4, 0, 0, 0, 0xFF, 1, 2, 3}},
        CompressCase{"eight bytes fill one group exactly",
                     Bytes(8, 7),
                     {9, 0, 0, 0, 0xFF, 7, 7, 7, 7, 7, 7, 7, 7}},
        CompressCase{"twenty bytes 0x61",
                     Bytes(20, 0x61),
                     {7, 0, 0, 0, 0xFD, 0x61, 0xEE, 0xFD, 0x61, 0x61, 0x61}},
        // The first zero is a literal: positions before the input are never candidates.
        CompressCase{"zero run at the start",
                     Bytes(20, 0),
                     {7, 0, 0, 0, 0xFD, 0x00, 0xEE, 0xFD, 0x00, 0x00, 0x00}}));

// Item lengths of a stream in order: 0 for a literal, the copied length for a reference.
std::vector<std::size_t> Items(const Bytes& stream) {
    std::vector<std::size_t> items;
    std::size_t i = 4;
    while (i < stream.size()) {
        unsigned flags = stream[i++];
        for (int item = 0; item < 8 && i < stream.size(); ++item, flags >>= 1) {
            if (flags & 1) {
                items.push_back(0);
                ++i;
            } else {
                items.push_back(lzs::ReferenceLength(stream[i + 1]));
                i += 2;
            }
        }
    }
    return items;
}

TEST(HashCompressorRules, NoReferenceStartsInTheLastFifteenBytes) {
    for (const Bytes& input : {Bytes(15, 'q'), Bytes(300, 'q'), Bytes(4001, 0), Bytes(4002, 0)}) {
        std::size_t position = 0;
        for (std::size_t length : Items(Compress(input))) {
            if (length > 0) {
                EXPECT_LT(position, input.size() - 15) << input.size() << " bytes";
            }
            position += std::max<std::size_t>(length, 1);
        }
        EXPECT_EQ(position, input.size());
    }
}

TEST(HashCompressorRules, MatchesAreAtMostSixteenBytes) {
    // A long run gives overlapping references at distance 1, each at most 16 bytes long.
    const Bytes input(200, 'r');
    const Bytes stream = Compress(input);
    for (std::size_t length : Items(stream)) EXPECT_LE(length, 16u);
    EXPECT_EQ(lzs::DecodeStream(stream), input);
}

TEST(HashCompressorRules, RefusesADestinationThatMayBeTooSmall) {
    const Bytes input(100, 'x');
    Bytes out(lzs::MaxStreamSize(input.size()) - 1, 0xAA);
    EXPECT_EQ(lzs::CompressHashed(input, out), 0u);
    EXPECT_EQ(out, Bytes(out.size(), 0xAA));
}

TEST(HashCompressorRules, IncompressibleDataFitsTheAllLiteralBound) {
    for (std::size_t size : {1u, 7u, 8u, 9u, 1000u, 4097u}) {
        const Bytes input = lzs_test::MakeData(lzs_test::DataKind::kRandom, size, 11);
        EXPECT_LE(Compress(input).size(), lzs::MaxStreamSize(size));
    }
}

}  // namespace
