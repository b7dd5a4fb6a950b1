// Throughput of the LZS decoders and compressors, each run beside a baseline on the same data:
// the editor's decoder, the library's exported decoder and the library compressor beside the
// classic LZSS ring decoder and tree encoder,
// the fast fallback compressor beside its exhaustive reference. The speed ratios and the aims
// they should meet on field-like data are printed after the runs.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include <benchmark/benchmark.h>

#include "bench/classic_lzss.h"
#include "bench/field_like_data.h"
#include "bench/pair_reporter.h"
#include "lzs/corvask.h"
#include "lzs/decode_stream.h"
#include "lzs/fallback_compressor.h"
#include "lzs/format.h"
#include "lzs/hash_compressor.h"
#include "lzs/hash_stream.h"
#include "tests/lzs/fallback_reference.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// The exhaustive reference manages about a megabyte a second: its pair runs on a slice this
// long, so that the whole run stays short.
constexpr std::size_t kSliceSize = 32 * 1024;

// One kind of input with what the benchmarks derive from it.
struct Corpus {
    std::string name;
    Bytes data;
    Bytes stream;  // the library compressor's stream of data, which both decoders read
    Bytes slice;   // kSliceSize bytes from the middle of data: texture pages in a field
};

Bytes WithHeader(const Bytes& payload) {
    Bytes stream(lzs::kHeaderSize);
    lzs::PutHeader(stream.data(), static_cast<std::uint32_t>(payload.size()));
    stream.insert(stream.end(), payload.begin(), payload.end());
    return stream;
}

std::span<const std::uint8_t> Payload(const Bytes& stream) {
    return std::span(stream).subspan(lzs::kHeaderSize);
}

Corpus MakeCorpus(std::string name, Bytes data) {
    Bytes stream = lzs::CompressHashedStream(data);
    const auto middle = data.begin() + static_cast<std::ptrdiff_t>((data.size() - kSliceSize) / 2);
    Bytes slice(middle, middle + kSliceSize);
    return {std::move(name), std::move(data), std::move(stream), std::move(slice)};
}

void Require(bool condition, const std::string& what, const Corpus& corpus) {
    if (condition) return;
    std::fprintf(stderr, "lzs_bench: %s fails on %s data; the comparison would be meaningless\n",
                 what.c_str(), corpus.name.c_str());
    std::exit(EXIT_FAILURE);
}

// The baselines must do the same job as the code they are compared with: both our decoders and
// the classic one decode our compressors' streams, the classic encoder's streams decode with
// ours, and the fast fallback writes exactly what its reference writes.
void CheckBaselines(const Corpus& corpus) {
    Require(lzs::DecodeStream(corpus.stream) == corpus.data, "CompressHashed round trip", corpus);
    Bytes exported(corpus.data.size());
    std::int32_t produced = -1;
    const auto payload = Payload(corpus.stream);
    _lzs_decompress(payload.data(), static_cast<std::int32_t>(payload.size()), exported.data(),
                    &produced);
    Require(exported == corpus.data && produced == static_cast<std::int32_t>(exported.size()),
            "_lzs_decompress on CompressHashed's stream", corpus);
    Require(lzs::DecodeStream(WithHeader(classic::EncodeTree(corpus.data))) == corpus.data,
            "classic tree encoder, decoded by DecodeStream,", corpus);
    Require(classic::DecodeRing(Payload(corpus.stream)) == corpus.data,
            "classic ring decoder on CompressHashed's stream", corpus);
    Require(classic::DecodeRing(Payload(lzs::CompressFallback(corpus.data))) == corpus.data,
            "classic ring decoder on CompressFallback's stream", corpus);
    const Bytes reference = lzs_test::CompressFallbackReference(corpus.slice);
    Require(classic::DecodeRing(Payload(reference)) == corpus.slice,
            "classic ring decoder on the reference fallback's stream", corpus);
    Require(lzs::CompressFallback(corpus.slice) == reference,
            "CompressFallback matching its reference", corpus);
}

void SetThroughput(benchmark::State& state, std::size_t uncompressed) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * uncompressed));
}

void SetSizeRatio(benchmark::State& state, std::size_t compressed, std::size_t uncompressed) {
    state.counters["size_ratio"] = static_cast<double>(compressed) / uncompressed;
}

void OurDecoder(benchmark::State& state, const Corpus& corpus) {
    for (auto _ : state) {
        Bytes out = lzs::DecodeStream(corpus.stream);
        benchmark::DoNotOptimize(out.data());
    }
    SetThroughput(state, corpus.data.size());
}

// The library's export as a caller that knows the decoded size uses it: into a buffer of
// exactly that size, allocated for each call as the other decoders allocate theirs.
void ExportedDecoder(benchmark::State& state, const Corpus& corpus) {
    const auto payload = Payload(corpus.stream);
    for (auto _ : state) {
        const auto out = std::make_unique_for_overwrite<std::uint8_t[]>(corpus.data.size());
        std::int32_t produced = 0;
        _lzs_decompress(payload.data(), static_cast<std::int32_t>(payload.size()), out.get(),
                        &produced);
        benchmark::DoNotOptimize(out.get());
        benchmark::DoNotOptimize(produced);
    }
    SetThroughput(state, corpus.data.size());
}

void ClassicRingDecoder(benchmark::State& state, const Corpus& corpus) {
    for (auto _ : state) {
        Bytes out = classic::DecodeRing(Payload(corpus.stream));
        benchmark::DoNotOptimize(out.data());
    }
    SetThroughput(state, corpus.data.size());
}

void LibraryCompressor(benchmark::State& state, const Corpus& corpus) {
    Bytes out(lzs::MaxStreamSize(corpus.data.size()));
    std::size_t written = 0;
    for (auto _ : state) {
        written = lzs::CompressHashed(corpus.data, out);
        benchmark::DoNotOptimize(written);
        benchmark::ClobberMemory();
    }
    SetThroughput(state, corpus.data.size());
    SetSizeRatio(state, written, corpus.data.size());
}

void ClassicTreeEncoder(benchmark::State& state, const Corpus& corpus) {
    std::size_t written = 0;
    for (auto _ : state) {
        Bytes payload = classic::EncodeTree(corpus.data);
        benchmark::DoNotOptimize(payload.data());
        written = lzs::kHeaderSize + payload.size();
    }
    SetThroughput(state, corpus.data.size());
    SetSizeRatio(state, written, corpus.data.size());
}

void FastFallback(benchmark::State& state, const Corpus& corpus) {
    std::size_t written = 0;
    for (auto _ : state) {
        Bytes stream = lzs::CompressFallback(corpus.slice);
        benchmark::DoNotOptimize(stream.data());
        written = stream.size();
    }
    SetThroughput(state, corpus.slice.size());
    SetSizeRatio(state, written, corpus.slice.size());
}

void FallbackReference(benchmark::State& state, const Corpus& corpus) {
    std::size_t written = 0;
    for (auto _ : state) {
        Bytes stream = lzs_test::CompressFallbackReference(corpus.slice);
        benchmark::DoNotOptimize(stream.data());
        written = stream.size();
    }
    SetThroughput(state, corpus.slice.size());
    SetSizeRatio(state, written, corpus.slice.size());
}

using BenchmarkFunction = void (*)(benchmark::State&, const Corpus&);

// One comparison: ours and its baseline, and the least speed ratio wanted on field-like data.
struct Comparison {
    const char* group;
    const char* oursName;
    BenchmarkFunction ours;
    const char* baselineName;
    BenchmarkFunction baseline;
    double fieldAim;
};

const Comparison kComparisons[] = {
    {"decode", "DecodeStream", OurDecoder, "classic_ring", ClassicRingDecoder, 3},
    {"decode_export", "_lzs_decompress", ExportedDecoder, "classic_ring", ClassicRingDecoder, 3},
    {"compress", "CompressHashed", LibraryCompressor, "classic_tree", ClassicTreeEncoder, 15},
    {"fallback_32KiB", "CompressFallback", FastFallback, "reference", FallbackReference, 50},
};

void Register(const std::string& name, BenchmarkFunction function, const Corpus& corpus) {
    benchmark::RegisterBenchmark(name.c_str(), [function, &corpus](benchmark::State& state) {
        function(state, corpus);
    })->Unit(benchmark::kMicrosecond);
}

std::string Describe(const Corpus& corpus) {
    const double size = static_cast<double>(corpus.data.size());
    char text[160];
    std::snprintf(text, sizeof text,
                  "%zu bytes; size ratio %.3f with CompressHashed, %.3f with CompressFallback",
                  corpus.data.size(), static_cast<double>(corpus.stream.size()) / size,
                  static_cast<double>(lzs::CompressFallback(corpus.data).size()) / size);
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return EXIT_FAILURE;

    Bytes field = lzs_bench::MakeFieldLikeData(1);
    const std::size_t size = field.size();
    const std::vector<Corpus> corpora = {MakeCorpus("field", std::move(field)),
                                         MakeCorpus("random", lzs_bench::MakeRandomData(size, 2))};
    for (const Corpus& corpus : corpora) {
        CheckBaselines(corpus);
        benchmark::AddCustomContext(corpus.name + " data", Describe(corpus));
    }

    lzs_bench::PairReporter reporter;
    for (const Comparison& comparison : kComparisons) {
        for (const Corpus& corpus : corpora) {
            const std::string prefix = std::string(comparison.group) + "/" + corpus.name + "/";
            Register(prefix + comparison.oursName, comparison.ours, corpus);
            Register(prefix + comparison.baselineName, comparison.baseline, corpus);
            reporter.AddPair(prefix + comparison.oursName, prefix + comparison.baselineName,
                             corpus.name == "field" ? comparison.fieldAim : 0);
        }
    }
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return EXIT_SUCCESS;
}
