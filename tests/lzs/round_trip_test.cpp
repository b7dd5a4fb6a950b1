#include <gtest/gtest.h>

#include "lzs/decode_stream.h"
#include "lzs/fallback_compressor.h"
#include "lzs/hash_stream.h"
#include "tests/lzs/test_data.h"

namespace {

using lzs_test::Bytes;
using lzs_test::DataKind;

std::uint32_t HeaderLength(const Bytes& stream) {
    return stream[0] | (stream[1] << 8) | (stream[2] << 16) | (std::uint32_t{stream[3]} << 24);
}

void ExpectRoundTrip(const Bytes& input, const std::string& what) {
    const Bytes library = lzs::CompressHashedStream(input);
    ASSERT_EQ(HeaderLength(library), library.size() - 4) << what;
    ASSERT_EQ(lzs::DecodeStream(library), input) << "library compressor, " << what;
    const Bytes fallback = lzs::CompressFallback(input);
    ASSERT_EQ(HeaderLength(fallback), fallback.size() - 4) << what;
    ASSERT_EQ(lzs::DecodeStream(fallback), input) << "fallback compressor, " << what;
}

TEST(RoundTrip, EveryKindAtManySizes) {
    std::uint32_t seed = 7;
    for (DataKind kind : lzs_test::kAllKinds) {
        for (std::size_t size : {0u, 1u, 2u, 3u, 15u, 16u, 17u, 18u, 19u, 100u, 4095u, 4096u,
                                 4097u, 20000u, 65536u, 300000u}) {
            ExpectRoundTrip(lzs_test::MakeData(kind, size, ++seed),
                            lzs_test::KindName(kind) + " of " + std::to_string(size) + " bytes");
        }
    }
}

TEST(RoundTrip, InputsEndingInZeros) {
    for (std::size_t zeros = 1; zeros <= 40; ++zeros) {
        Bytes input = lzs_test::MakeData(DataKind::kText, 500, static_cast<std::uint32_t>(zeros));
        input.insert(input.end(), zeros, 0);
        ExpectRoundTrip(input, std::to_string(zeros) + " trailing zeros");
    }
}

TEST(RoundTrip, RandomSizesAndSeeds) {
    for (std::uint32_t seed = 0; seed < 400; ++seed) {
        const DataKind kind = lzs_test::kAllKinds[seed % std::size(lzs_test::kAllKinds)];
        ExpectRoundTrip(lzs_test::MakeData(kind, (seed * 2654435761u) % 9000, seed),
                        lzs_test::KindName(kind) + " seed " + std::to_string(seed));
    }
}

}  // namespace
