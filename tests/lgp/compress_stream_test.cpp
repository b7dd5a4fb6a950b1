#include "lgp/compress_stream.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <latch>
#include <limits>
#include <string>
#include <thread>
#include <vector>

#include "lzs/decode_stream.h"
#include "lzs/fallback_compressor.h"
#include "lzs/hash_stream.h"
#include "tests/lzs/test_data.h"

namespace {

using lzs_test::Bytes;
using lzs_test::DataKind;

// Inputs of every kind and a few sizes, on which the two compressors mostly differ.
std::vector<Bytes> Inputs() {
    std::vector<Bytes> inputs = {{}, {1, 2, 3}, Bytes(20, 0x61)};
    std::uint32_t seed = 1;
    for (const DataKind kind : lzs_test::kAllKinds) {
        for (const std::size_t size : {100u, 5000u}) {
            inputs.push_back(lzs_test::MakeData(kind, size, seed++));
        }
    }
    return inputs;
}

// The library's stream for each input, checked to decode back.
void ExpectLibraryStreams(lgp::CorvaskBinding& binding) {
    for (const Bytes& input : Inputs()) {
        const Bytes stream = binding.Compress(input);
        EXPECT_EQ(stream, lzs::CompressHashedStream(input)) << input.size() << " bytes";
        EXPECT_EQ(lzs::DecodeStream(stream), input) << input.size() << " bytes";
    }
}

// A folder of its own for the running test, removed with everything in it at the end.
class TempFolder {
public:
    TempFolder() {
        const auto* test = testing::UnitTest::GetInstance()->current_test_info();
        path_ = std::filesystem::temp_directory_path() /
                ("orvenne_" + std::string(test->name()) + "_" + std::to_string(getpid()));
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() { std::filesystem::remove_all(path_); }
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

const Bytes kText = lzs_test::BytesOf("the editor's own compressor and the library's differ here; "
                                      "the editor's own compressor searches the whole window");

TEST(CorvaskBindingTest, UsesTheLibraryCompressorWhenItLoads) {
    ASSERT_NE(lzs::CompressHashedStream(kText), lzs::CompressFallback(kText));
    lgp::CorvaskBinding binding({CORVASK_PATH});
    ExpectLibraryStreams(binding);
}

TEST(CorvaskBindingTest, UsesTheFallbackWhenNoCandidateLoads) {
    const TempFolder folder;
    lgp::CorvaskBinding binding({folder.Path() / "libcorvask.so", "liborvenne_no_such_library.so"});
    for (const Bytes& input : Inputs()) {
        EXPECT_EQ(binding.Compress(input), lzs::CompressFallback(input));
    }
}

TEST(CorvaskBindingTest, SkipsALibraryWithoutTheRoutine) {
    lgp::CorvaskBinding binding({STUB_WITHOUT_COMPRESS_PATH, CORVASK_PATH});
    ExpectLibraryStreams(binding);
}

TEST(CorvaskBindingTest, TriesAgainUntilTheLibraryIsInPlaceThenKeepsIt) {
    const TempFolder folder;
    const std::filesystem::path library = folder.Path() / "libcorvask.so";
    lgp::CorvaskBinding binding({library});

    EXPECT_EQ(binding.Compress(kText), lzs::CompressFallback(kText));
    // A library of that name without _lzs_compress loads but must not be used.
    std::filesystem::copy_file(STUB_WITHOUT_COMPRESS_PATH, library);
    EXPECT_EQ(binding.Compress(kText), lzs::CompressFallback(kText));
    // A new file rather than one overwritten in place, as installing a library would do.
    std::filesystem::remove(library);
    std::filesystem::copy_file(CORVASK_PATH, library);
    EXPECT_EQ(binding.Compress(kText), lzs::CompressHashedStream(kText));
    // Once bound, the library stays loaded even when its file goes away.
    std::filesystem::remove(library);
    EXPECT_EQ(binding.Compress(kText), lzs::CompressHashedStream(kText));
}

TEST(CorvaskBindingTest, FallsBackWhenTheLibraryReportsAnImpossibleLength) {
    lgp::CorvaskBinding binding({STUB_BAD_LENGTH_PATH});
    // The stub writes nothing and reports the length held in the input's first four bytes.
    Bytes input(4, 0);
    input.insert(input.end(), kText.begin(), kText.end());
    const std::int32_t buffer = static_cast<std::int32_t>(input.size() + input.size() / 8 + 8);
    const std::int32_t lengths[] = {
        -1, 0, 3,  // no room for the header
        8,         // disagrees with the (zero) payload length in the header
        buffer + 1, std::numeric_limits<std::int32_t>::max()};  // past the buffer
    for (const std::int32_t length : lengths) {
        std::memcpy(input.data(), &length, sizeof length);
        EXPECT_EQ(binding.Compress(input), lzs::CompressFallback(input)) << length;
    }
}

TEST(CorvaskBindingTest, BindsOnceWhenCalledFromSeveralThreads) {
    lgp::CorvaskBinding binding({STUB_WITHOUT_COMPRESS_PATH, CORVASK_PATH});
    constexpr int kThreads = 8;
    std::latch start(kThreads);
    std::vector<std::vector<Bytes>> results(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            start.arrive_and_wait();
            for (const Bytes& input : Inputs()) results[t].push_back(binding.Compress(input));
        });
    }
    for (std::thread& thread : threads) thread.join();
    const std::vector<Bytes> inputs = Inputs();
    for (const std::vector<Bytes>& streams : results) {
        ASSERT_EQ(streams.size(), inputs.size());
        for (std::size_t i = 0; i < inputs.size(); ++i) {
            EXPECT_EQ(streams[i], lzs::CompressHashedStream(inputs[i]));
        }
    }
}

// The build puts the library beside this test program, as it does beside the editor.
TEST(CompressStreamTest, FindsTheLibraryBesideTheProgram) {
    for (const Bytes& input : Inputs()) {
        EXPECT_EQ(lgp::CompressStream(input), lzs::CompressHashedStream(input))
            << input.size() << " bytes";
    }
}

}  // namespace
