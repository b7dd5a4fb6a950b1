// The level preview's timings on the busiest level of the full demo archive (the most tiles):
// building its background from the decoded field file, building and fitting it into the
// small preview of each size (287 pixels wide), building and widening it for the enlarged
// window, and the whole path of a level selection: reading and decoding the level from the
// archive, building and fitting.
#include <cstdio>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "bench/demo_archive.h"
#include "lgp/byte_reader.h"
#include "lgp/level_tables.h"
#include "lgp/lgp_file.h"
#include "preview/fit_picture.h"
#include "preview/level_background.h"

namespace fs = std::filesystem;

namespace {

constexpr int kPaneWidth = 287;

// The number of tiles in both layers of a field file's background.
int TileCount(std::span<const std::uint8_t> field) {
    lgp::ByteReader reader(field, 38);
    const std::size_t base = static_cast<std::size_t>(reader.ReadI32()) + 4;
    reader.Seek(base + 44);
    const std::size_t layer1 = reader.ReadU16();
    reader.Seek(base + 57 + 52 * layer1);
    return static_cast<int>(layer1 + reader.ReadU16());
}

struct BusiestLevel {
    TLGPFile archive;
    const TLGPSubFile* level = nullptr;
    std::vector<std::uint8_t> field;
};

const BusiestLevel& Busiest() {
    static const BusiestLevel busiest = [] {
        const fs::path file = ::DemoArchivePath("orvenne_level_preview_bench.lgp");
        BusiestLevel found;
        found.archive.ReadTableOfContents(file.string());
        int most = -1;
        for (const auto& subFile : found.archive.SubFiles) {
            if (!lgp::IsLevel(*subFile)) continue;
            std::vector<std::uint8_t> field = found.archive.ReadSubFile(*subFile);
            const int tiles = TileCount(field);
            if (tiles > most) {
                most = tiles;
                found.level = subFile.get();
                found.field = std::move(field);
            }
        }
        const QImage picture = preview::BuildLevelBackground(found.field);
        std::printf("busiest level: %s, %d tiles, %d x %d pixels\n", found.level->Name.c_str(),
                    most, picture.width(), picture.height());
        return found;
    }();
    return busiest;
}

void BuildBackground(benchmark::State& state) {
    const std::vector<std::uint8_t>& field = Busiest().field;
    for (auto _ : state) {
        const QImage picture = preview::BuildLevelBackground(field);
        benchmark::DoNotOptimize(picture.constBits());
    }
}

// Argument: the preview size, 1 (Small) to 4 (Very large).
void BuildAndFit(benchmark::State& state) {
    const std::vector<std::uint8_t>& field = Busiest().field;
    const int height = 50 * static_cast<int>(state.range(0));
    for (auto _ : state) {
        QImage picture = preview::BuildLevelBackground(field);
        preview::FitPicture(picture, kPaneWidth, height);
        benchmark::DoNotOptimize(picture.constBits());
    }
}

void BuildAndWiden(benchmark::State& state) {
    const std::vector<std::uint8_t>& field = Busiest().field;
    for (auto _ : state) {
        const QImage picture = preview::ExpandTo24Bits(preview::BuildLevelBackground(field));
        benchmark::DoNotOptimize(picture.constBits());
    }
}

void ReadBuildAndFit(benchmark::State& state) {
    const BusiestLevel& busiest = Busiest();
    for (auto _ : state) {
        QImage picture = preview::ReadLevelBackground(busiest.archive, *busiest.level);
        preview::FitPicture(picture, kPaneWidth, 100);
        benchmark::DoNotOptimize(picture.constBits());
    }
}

BENCHMARK(BuildBackground)->Unit(benchmark::kMicrosecond);
BENCHMARK(BuildAndFit)->ArgName("size")->DenseRange(1, 4)->Unit(benchmark::kMicrosecond);
BENCHMARK(BuildAndWiden)->Unit(benchmark::kMicrosecond);
BENCHMARK(ReadBuildAndFit)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
