#include "lzs/fallback_compressor.h"

#include <gtest/gtest.h>

#include "tests/lzs/fallback_reference.h"
#include "tests/lzs/test_data.h"

namespace {

using lzs_test::Bytes;
using lzs_test::DataKind;

struct CompressCase {
    const char* what;
    Bytes input;
    Bytes expected;
};

class FallbackCompressorTest : public testing::TestWithParam<CompressCase> {};

TEST_P(FallbackCompressorTest, FastAndReferenceWriteTheExactStream) {
    const CompressCase& c = GetParam();
    EXPECT_EQ(lzs::CompressFallback(c.input), c.expected) << c.what;
    EXPECT_EQ(lzs_test::CompressFallbackReference(c.input), c.expected) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Examples, FallbackCompressorTest,
    testing::Values(
        CompressCase{"empty input", {}, {0, 0, 0, 0}},
        CompressCase{"three bytes", {1, 2, 3}, {4, 0, 0, 0, 0x07, 1, 2, 3}},
        CompressCase{"twenty bytes 0x61",
                     Bytes(20, 0x61),
                     {10, 0, 0, 0, 0x07, 0x61, 0x61, 0x61, 0xEE, 0xF0, 0xEF, 0xF2, 0xF0, 0xF6}},
        CompressCase{"five zero bytes", Bytes(5, 0), {3, 0, 0, 0, 0x00, 0xE9, 0xF2}},
        CompressCase{"two zero bytes stay literals", Bytes(2, 0), {3, 0, 0, 0, 0x03, 0, 0}},
        // 40 zeros from the initial window: two 18-byte references, then 4 more bytes.
        CompressCase{"zero run at the start",
                     Bytes(40, 0),
                     {7, 0, 0, 0, 0x00, 0xDB, 0xFF, 0xED, 0xFF, 0x0D, 0x01}}));

// The fast search must write the very bytes of the exhaustive one.
void ExpectSameAsReference(const Bytes& input, const std::string& what) {
    ASSERT_EQ(lzs::CompressFallback(input), lzs_test::CompressFallbackReference(input)) << what;
}

TEST(FallbackCompressorEquivalence, SmallInputsOfEveryKind) {
    std::uint32_t seed = 1;
    for (DataKind kind : lzs_test::kAllKinds) {
        for (int i = 0; i < 300; ++i, ++seed) {
            const std::size_t size = (seed * 7919u) % (i < 250 ? 300 : 2500);
            ExpectSameAsReference(lzs_test::MakeData(kind, size, seed),
                                  lzs_test::KindName(kind) + " seed " + std::to_string(seed));
        }
    }
}

TEST(FallbackCompressorEquivalence, InputsLargerThanTheWindow) {
    std::uint32_t seed = 100000;
    for (DataKind kind : lzs_test::kAllKinds) {
        for (std::size_t size : {4095u, 4096u, 4114u, 13000u}) {
            ExpectSameAsReference(lzs_test::MakeData(kind, size, ++seed),
                                  lzs_test::KindName(kind) + " size " + std::to_string(size));
        }
    }
}

TEST(FallbackCompressorEquivalence, LongZeroRunsAcrossTheWindow) {
    Bytes input(9000, 0);
    for (std::size_t i = 4000; i < 4010; ++i) input[i] = static_cast<std::uint8_t>(i);
    input[8990] = 1;
    ExpectSameAsReference(input, "zeros with a marker");
    ExpectSameAsReference(Bytes(5000, 0), "zeros only");
    Bytes periodic(6000);
    for (std::size_t i = 0; i < periodic.size(); ++i) periodic[i] = "ab\0c"[i % 4];
    ExpectSameAsReference(periodic, "period of four");
}

}  // namespace
