// The review of a translation against its original on the full demo archive: every text's
// state and findings and the progress of every level and of the archive, as the editor makes
// them once the original is read; and one keystroke in the editor: the edited text encoded,
// reviewed again with its findings, and its level's progress and the archive's read.
#include <cstdio>
#include <filesystem>
#include <string>

#include <benchmark/benchmark.h>

#include "bench/demo_archive.h"
#include "lgp/archive_counts.h"
#include "lgp/archive_loader.h"
#include "text/text_decoder.h"
#include "text/text_encoder.h"
#include "translation/archive_review.h"

namespace fs = std::filesystem;

namespace {

// A translation as it stands halfway: two texts in three changed, a few of them with what the
// checks find (a variable dropped, a trailing space, a double space).
void Translate(TLGPFile& archive) {
    std::size_t count = 0;
    for (const auto& subFile : archive.SubFiles) {
        for (TLevelText& levelText : subFile->Texts) {
            if (count++ % 3 == 0) continue;
            std::string tagged = text::DecodeText(levelText.Bytes);
            for (char& c : tagged) {
                if (c == 'e') c = '\xE9';
            }
            if (count % 40 == 1) {
                if (const std::size_t at = tagged.find("{VAR1}"); at != std::string::npos) {
                    tagged.erase(at, 6);
                }
            }
            if (count % 50 == 2) tagged += ' ';
            if (count % 60 == 5) tagged.insert(0, "Oui,  ");
            levelText.Bytes = text::EncodeText(tagged, true);
        }
    }
}

struct Archives {
    TLGPFile original;
    TLGPFile translation;
};

Archives& DemoArchives() {
    static Archives archives;
    static const bool loaded = [] {
        const fs::path file = ::DemoArchivePath("orvenne_translation_bench.lgp");
        lgp::LoadArchive(archives.original, file.string());
        lgp::LoadArchive(archives.translation, file.string());
        fs::remove(file);
        Translate(archives.translation);
        const translation::Progress progress =
            translation::ArchiveReview(archives.translation, archives.original).totalProgress();
        std::printf("demo archive: %d levels, %zu texts, %zu translated\n",
                    lgp::CountArchive(archives.original).levels, progress.texts,
                    progress.translated);
        return true;
    }();
    benchmark::DoNotOptimize(loaded);
    return archives;
}

void ReviewEveryText(benchmark::State& state) {
    Archives& archives = DemoArchives();
    for (auto _ : state) {
        const translation::ArchiveReview review(archives.translation, archives.original);
        benchmark::DoNotOptimize(review.totalProgress());
    }
}

void Keystroke(benchmark::State& state) {
    Archives& archives = DemoArchives();
    translation::ArchiveReview review(archives.translation, archives.original);
    // The level with the most texts, and its longest text.
    std::size_t level = 0;
    for (std::size_t i = 0; i < archives.translation.SubFiles.size(); ++i) {
        if (archives.translation.SubFiles[i]->Texts.size() >
            archives.translation.SubFiles[level]->Texts.size()) {
            level = i;
        }
    }
    TLGPSubFile& subFile = *archives.translation.SubFiles[level];
    std::size_t edited = 0;
    for (std::size_t t = 0; t < subFile.Texts.size(); ++t) {
        if (subFile.Texts[t].Bytes.size() > subFile.Texts[edited].Bytes.size()) edited = t;
    }
    const std::string tagged = text::DecodeText(subFile.Texts[edited].Bytes);
    // Typing and erasing a character, so that every other keystroke changes the review.
    const std::string typed[] = {tagged + " {VAR1}", tagged};
    std::size_t keystroke = 0;
    for (auto _ : state) {
        subFile.Texts[edited].Bytes = text::EncodeText(typed[keystroke++ % 2], true);
        const bool changed = review.updateText(level, edited);
        benchmark::DoNotOptimize(changed);
        benchmark::DoNotOptimize(review.findings(level, edited).data());
        benchmark::DoNotOptimize(review.levelProgress(level));
        benchmark::DoNotOptimize(review.totalProgress());
    }
    state.SetLabel(subFile.Name + ", " + std::to_string(subFile.Texts.size()) + " texts");
}

BENCHMARK(ReviewEveryText)->Unit(benchmark::kMillisecond);
BENCHMARK(Keystroke)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
