// Loads the built corvask library as the editor does and checks both exported routines.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include "lzs/corvask.h"
#include "lzs/format.h"
#include "tests/lzs/ending_payloads.h"
#include "tests/lzs/test_data.h"

namespace {

using lzs_test::Bytes;

class CorvaskTest : public testing::Test {
protected:
    void SetUp() override {
        handle_ = dlopen(CORVASK_PATH, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle_, nullptr) << dlerror();
        compress_ = reinterpret_cast<lzs::LzsCompressFunction>(dlsym(handle_, "_lzs_compress"));
        decompress_ =
            reinterpret_cast<lzs::LzsDecompressFunction>(dlsym(handle_, "_lzs_decompress"));
        ASSERT_NE(compress_, nullptr);
        ASSERT_NE(decompress_, nullptr);
    }
    void TearDown() override {
        if (handle_ != nullptr) dlclose(handle_);
    }

    // Compresses into a buffer of the size the editor gives: srcLen + srcLen / 8 + 8.
    Bytes Compress(const Bytes& input) {
        Bytes out(input.size() + input.size() / 8 + 8, 0xCC);
        std::int32_t written = -1;
        EXPECT_EQ(compress_(input.data(), static_cast<std::uint32_t>(input.size()), out.data(),
                            &written),
                  1);
        out.resize(static_cast<std::size_t>(written));
        return out;
    }

    void* handle_ = nullptr;
    lzs::LzsCompressFunction compress_ = nullptr;
    lzs::LzsDecompressFunction decompress_ = nullptr;
};

TEST_F(CorvaskTest, CompressWritesTheLibraryStreams) {
    EXPECT_EQ(Compress({}), (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(Compress({1, 2, 3}), (Bytes{4, 0, 0, 0, 0xFF, 1, 2, 3}));
    EXPECT_EQ(Compress(Bytes(20, 0x61)), (Bytes{7, 0, 0, 0, 0xFD, 0x61, 0xEE, 0xFD, 0x61, 0x61, 0x61}));
}

TEST_F(CorvaskTest, DecompressFillsAnExactlySizedBuffer) {
    for (std::uint32_t seed = 0; seed < 50; ++seed) {
        const Bytes input = lzs_test::MakeData(lzs_test::kAllKinds[seed % 7], seed * 97, seed);
        const Bytes stream = Compress(input);
        // One guard byte after the exact size must stay untouched.
        Bytes out(input.size() + 1, 0x5A);
        std::int32_t produced = -1;
        decompress_(stream.data() + 4, static_cast<std::int32_t>(stream.size() - 4), out.data(),
                    &produced);
        ASSERT_EQ(produced, static_cast<std::int32_t>(input.size()));
        EXPECT_EQ(out.back(), 0x5A);
        out.pop_back();
        EXPECT_EQ(out, input);
    }
}

TEST_F(CorvaskTest, DecompressWritesNothingPastTheDecodedData) {
    for (const lzs_test::EndingCase& c : lzs_test::EndingCases()) {
        Bytes out(c.expected.size() + 32, 0xA5);
        std::int32_t produced = -1;
        decompress_(c.payload.data(), static_cast<std::int32_t>(c.payload.size()), out.data(),
                    &produced);
        ASSERT_EQ(produced, static_cast<std::int32_t>(c.expected.size())) << c.what;
        // The decoded bytes, and the guard bytes after them untouched.
        Bytes expected = c.expected;
        expected.resize(out.size(), 0xA5);
        EXPECT_EQ(out, expected) << c.what;
    }
}

TEST_F(CorvaskTest, DecompressTakesANegativeLengthAsEmpty) {
    const std::uint8_t payload[] = {0xFF, 1};
    std::int32_t produced = -1;
    std::uint8_t out[4] = {};
    decompress_(payload, -5, out, &produced);
    EXPECT_EQ(produced, 0);
}

}  // namespace
