// Opening and saving the full demo archive. Opening reads the table of contents and decodes
// and parses every level, on one thread and on one per core. Saving writes the archive to
// another file with one level changed (the copy dominates) and with every level changed
// (compression dominates), compressed with the library compressor in this process on every
// core; writing alone, without the flush to disk, with every level changed on one thread and
// on one per core.
#include <cstdio>
#include <filesystem>
#include <fstream>

#include <benchmark/benchmark.h>

#include "bench/demo_archive.h"
#include "lgp/archive_counts.h"
#include "lgp/archive_loader.h"
#include "lgp/archive_saver.h"
#include "lgp/archive_writer.h"
#include "lzs/hash_stream.h"

namespace fs = std::filesystem;

namespace {

const fs::path& DemoArchivePath() {
    static const fs::path path = [] {
        const fs::path file = ::DemoArchivePath("orvenne_archive_bench.lgp");
        TLGPFile archive;
        lgp::LoadArchive(archive, file.string());
        const lgp::ArchiveCounts counts = lgp::CountArchive(archive);
        std::printf("demo archive: %ju bytes, %d files, %d levels, %d texts, %d windows\n",
                    static_cast<std::uintmax_t>(fs::file_size(file)), archive.Count,
                    counts.levels, counts.texts, counts.windows);
        return file;
    }();
    return path;
}

void OpenArchive(benchmark::State& state) {
    const std::string path = DemoArchivePath().string();
    for (auto _ : state) {
        TLGPFile archive;
        lgp::LoadArchive(archive, path, {}, static_cast<unsigned>(state.range(0)));
        benchmark::DoNotOptimize(archive.Count);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * fs::file_size(path)));
}

TWindow* FirstWindow(TLGPSubFile& level) {
    for (TEntity& entity : level.Entities) {
        for (TScript& script : entity.Scripts) {
            if (!script.Windows.empty()) return &script.Windows.front();
        }
    }
    return nullptr;
}

// Moves one window of each of the first `levels` levels that have one, so that they are
// rebuilt; returns how many were changed.
int ChangeLevels(TLGPFile& archive, int levels) {
    int changed = 0;
    for (const auto& subFile : archive.SubFiles) {
        if (changed == levels) break;
        if (TWindow* window = FirstWindow(*subFile)) {
            ++window->X;
            ++changed;
        }
    }
    return changed;
}

void SaveArchiveCopy(benchmark::State& state) {
    TLGPFile archive;
    lgp::LoadArchive(archive, DemoArchivePath().string());
    state.counters["levels_rebuilt"] = ChangeLevels(archive, static_cast<int>(state.range(0)));
    const fs::path target = fs::temp_directory_path() / "orvenne_archive_bench_copy.lgp";
    for (auto _ : state) lgp::SaveArchive(archive, target.string(), lzs::CompressHashedStream);
    fs::remove(target);
}

void WriteEveryLevel(benchmark::State& state) {
    TLGPFile archive;
    lgp::LoadArchive(archive, DemoArchivePath().string());
    state.counters["levels_rebuilt"] = ChangeLevels(archive, archive.Count);
    const fs::path target = fs::temp_directory_path() / "orvenne_archive_bench_write.lgp";
    for (auto _ : state) {
        std::ofstream out(target, std::ios::binary | std::ios::trunc);
        lgp::WriteArchive(archive, out, lzs::CompressHashedStream, {},
                          static_cast<unsigned>(state.range(0)));
    }
    fs::remove(target);
}

BENCHMARK(OpenArchive)->ArgName("threads")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(SaveArchiveCopy)->ArgName("changed")->Arg(1)->Arg(702)->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(WriteEveryLevel)->ArgName("threads")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fs::remove(DemoArchivePath());
}
