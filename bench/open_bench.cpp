// Time to open the full demo archive: read its table of contents, then decode and parse every
// level, on one thread and on one per core. Prints the archive's size and counts first.
#include <cstdio>
#include <filesystem>

#include <benchmark/benchmark.h>

#include "lgp/archive_counts.h"
#include "lgp/archive_loader.h"
#include "sample/sample_archive.h"

namespace {

std::string DemoArchivePath() {
    static const std::string path = [] {
        const auto file = std::filesystem::temp_directory_path() / "orvenne_open_bench.lgp";
        sample::WriteSampleArchive(file.string());
        TLGPFile archive;
        LoadArchive(archive, file.string());
        const ArchiveCounts counts = CountArchive(archive);
        std::printf("demo archive: %ju bytes, %d files, %d levels, %d texts, %d windows\n",
                    static_cast<std::uintmax_t>(std::filesystem::file_size(file)), archive.Count,
                    counts.levels, counts.texts, counts.windows);
        return file.string();
    }();
    return path;
}

void OpenArchive(benchmark::State& state) {
    const std::string path = DemoArchivePath();
    for (auto _ : state) {
        TLGPFile archive;
        LoadArchive(archive, path, {}, static_cast<unsigned>(state.range(0)));
        benchmark::DoNotOptimize(archive.Count);
    }
    state.SetBytesProcessed(
        static_cast<std::int64_t>(state.iterations() * std::filesystem::file_size(path)));
}

BENCHMARK(OpenArchive)->ArgName("threads")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove(DemoArchivePath());
}
