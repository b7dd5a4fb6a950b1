// Finding, replacing and comparing on the full demo archive: a search that finds nothing (as
// each search after the first, or after the find job's preparation, and as a first one that
// also decodes every text), replace-all over every level changing some hundreds to about
// 1,500 texts, and a comparison with a copy of the archive, reading the copy as the compare
// job does.
#include <cstdio>
#include <filesystem>
#include <numeric>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "bench/demo_archive.h"
#include "lgp/archive_compare.h"
#include "lgp/archive_loader.h"
#include "lgp/replace_all.h"
#include "lgp/text_search.h"

namespace fs = std::filesystem;

namespace {

const fs::path& DemoArchivePath() { return ::DemoArchivePath("orvenne_search_bench.lgp"); }

TLGPFile& DemoArchive() {
    static TLGPFile archive;
    if (archive.SubFiles.empty()) lgp::LoadArchive(archive, DemoArchivePath().string());
    return archive;
}

std::vector<int> TableOrder(const TLGPFile& archive) {
    std::vector<int> rows(archive.SubFiles.size());
    std::iota(rows.begin(), rows.end(), 0);
    return rows;
}

// Each search as the find job makes it: the copies brought up to date, then the search.
void FindNothing(benchmark::State& state) {
    const TLGPFile& archive = DemoArchive();
    const std::vector<int> rows = TableOrder(archive);
    const bool matchCase = state.range(0) != 0;
    lgp::SearchTexts texts;
    texts.Update(archive);
    lgp::FindText(texts, rows, lgp::FindMode::FromStart, {}, "qqqzzz", matchCase);
    for (auto _ : state) {
        texts.Update(archive);
        benchmark::DoNotOptimize(
            lgp::FindText(texts, rows, lgp::FindMode::FromStart, {}, "qqqzzz", matchCase));
    }
}

void FirstSearchFindingNothing(benchmark::State& state) {
    const TLGPFile& archive = DemoArchive();
    const std::vector<int> rows = TableOrder(archive);
    for (auto _ : state) {
        lgp::SearchTexts texts;
        texts.Update(archive);
        benchmark::DoNotOptimize(
            lgp::FindText(texts, rows, lgp::FindMode::FromStart, {}, "qqqzzz", false));
    }
}

// Replaces a word by a text found nowhere else and back again, alternately, so that every
// run changes the same texts.
void ReplaceAllTexts(benchmark::State& state, const std::string& word) {
    TLGPFile& archive = DemoArchive();
    const std::string token = "Qzxj";
    bool forth = true;
    int changed = 0;
    for (auto _ : state) {
        changed = lgp::ReplaceAll(archive, forth ? word : token, forth ? token : word, true);
        forth = !forth;
    }
    if (!forth) lgp::ReplaceAll(archive, token, word, true);
    state.counters["texts_changed"] = changed;
}

void CompareWithCopy(benchmark::State& state) {
    const fs::path copy = fs::temp_directory_path() / "orvenne_search_bench_copy.lgp";
    fs::copy_file(DemoArchivePath(), copy, fs::copy_options::overwrite_existing);
    TLGPFile& current = DemoArchive();
    for (auto _ : state) {
        TLGPFile reference;
        lgp::LoadArchive(reference, copy.string(), {}, static_cast<unsigned>(state.range(0)));
        benchmark::DoNotOptimize(lgp::CompareArchives(current, reference).differentTexts);
    }
    fs::remove(copy);
}

BENCHMARK(FindNothing)->ArgName("match_case")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(FirstSearchFindingNothing)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ReplaceAllTexts, bad, std::string("bad"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ReplaceAllTexts, shinras, std::string("Shinra's"))->Unit(benchmark::kMillisecond);
// Reading on one thread, and on one per core as the compare job does.
BENCHMARK(CompareWithCopy)
    ->ArgName("threads")
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fs::remove(DemoArchivePath());
}
