// The overflow check's timings on the full demo archive: every text of every level in each of
// its windows (orvenne-cli check, and the files list's count of overflowing texts per level),
// and one keystroke in the editor: the edited text encoded, checked in its windows for its
// mark and hint, and its level's count taken again.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

#include <benchmark/benchmark.h>

#include "bench/demo_archive.h"
#include "lgp/archive_counts.h"
#include "lgp/archive_loader.h"
#include "lgp/level_tables.h"
#include "overflow/level_overflow.h"
#include "text/text_decoder.h"
#include "text/text_encoder.h"

namespace fs = std::filesystem;

namespace {

TLGPFile& DemoArchive() {
    static TLGPFile archive;
    static const bool loaded = [] {
        const fs::path file = ::DemoArchivePath("orvenne_overflow_bench.lgp");
        lgp::LoadArchive(archive, file.string());
        fs::remove(file);
        std::printf("demo archive: %d levels, %d texts\n", lgp::CountArchive(archive).levels,
                    lgp::CountArchive(archive).texts);
        return true;
    }();
    benchmark::DoNotOptimize(loaded);
    return archive;
}

void CheckEveryText(benchmark::State& state) {
    TLGPFile& archive = DemoArchive();
    for (auto _ : state) {
        std::size_t overflows = 0;
        for (const auto& subFile : archive.SubFiles) {
            if (lgp::IsLevel(*subFile)) {
                overflows +=
                    overflow::LevelOverflows(*subFile, text::CharacterNames::Default).size();
            }
        }
        benchmark::DoNotOptimize(overflows);
    }
}

void CountOverflowingTextsPerLevel(benchmark::State& state) {
    TLGPFile& archive = DemoArchive();
    for (auto _ : state) {
        int texts = 0;
        for (const auto& subFile : archive.SubFiles) {
            if (lgp::IsLevel(*subFile)) {
                texts += overflow::CountOverflowingTexts(*subFile, text::CharacterNames::Default);
            }
        }
        benchmark::DoNotOptimize(texts);
    }
}

void Keystroke(benchmark::State& state) {
    TLGPFile& archive = DemoArchive();
    // The level with the most texts, and its longest text shown in a window.
    const auto level = std::max_element(
        archive.SubFiles.begin(), archive.SubFiles.end(),
        [](const auto& a, const auto& b) { return a->Texts.size() < b->Texts.size(); });
    TLGPSubFile& subFile = **level;
    std::size_t edited = 0;
    for (std::size_t t = 0; t < subFile.Texts.size(); ++t) {
        const TLevelText& levelText = subFile.Texts[t];
        if (!levelText.Windows.empty() &&
            levelText.Bytes.size() > subFile.Texts[edited].Bytes.size()) {
            edited = t;
        }
    }
    const std::string tagged = text::DecodeText(subFile.Texts[edited].Bytes) + "x";
    for (auto _ : state) {
        subFile.Texts[edited].Bytes = text::EncodeText(tagged, true);
        const auto overflows =
            overflow::TextWindowOverflows(subFile, edited, text::CharacterNames::Default);
        const int count = overflow::CountOverflowingTexts(subFile, text::CharacterNames::Default);
        benchmark::DoNotOptimize(overflows.data());
        benchmark::DoNotOptimize(count);
    }
    state.SetLabel(subFile.Name + ", " + std::to_string(subFile.Texts.size()) + " texts");
}

BENCHMARK(CheckEveryText)->Unit(benchmark::kMillisecond);
BENCHMARK(CountOverflowingTextsPerLevel)->Unit(benchmark::kMillisecond);
BENCHMARK(Keystroke)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
