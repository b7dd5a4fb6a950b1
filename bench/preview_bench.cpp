// The text preview's timings: one draw of a three-line text in the automatic size (the
// preview is redrawn at every keystroke), one of a full window of tags and colours, and
// building the glyph sets at start-up.
#include <string>

#include <benchmark/benchmark.h>

#include "preview/glyph_sets.h"
#include "preview/window_preview.h"

namespace {

const preview::GlyphSets& Glyphs() {
    static const preview::GlyphSets glyphs = preview::GlyphSets::FromBuiltinFont();
    return glyphs;
}

void DrawThreeLines(benchmark::State& state) {
    const std::string text =
        "{CLOUD}\r\n"
        "\x93I'm not interested in the Planet's fate.\r\n"
        "  I'm only here for the money, {RED}%2{WHITE} and all.\x94";
    for (auto _ : state) {
        const QImage picture =
            preview::DrawWindowPreview(Glyphs(), preview::DefaultWindowColors, text,
                                       preview::kAutomaticSize, preview::kAutomaticSize);
        benchmark::DoNotOptimize(picture.constBits());
    }
}

void DrawBusyWindow(benchmark::State& state) {
    std::string text;
    for (int line = 0; line < 12; ++line) {
        text +=
            "{MULTICOLOUR}{BLINK}Ready?{BLINK}{MULTICOLOUR} {CHOICE}{SPACED CHARACTERS}"
            "Yes{SPACED CHARACTERS} {YELLOW}or no, %12 {PAUSE 3}then on.\r\n";
    }
    for (auto _ : state) {
        const QImage picture =
            preview::DrawWindowPreview(Glyphs(), preview::DefaultWindowColors, text, 320, 200);
        benchmark::DoNotOptimize(picture.constBits());
    }
}

void BuildGlyphSets(benchmark::State& state) {
    for (auto _ : state) {
        const preview::GlyphSets glyphs = preview::GlyphSets::FromBuiltinFont();
        benchmark::DoNotOptimize(glyphs.Width(0x21));
    }
}

BENCHMARK(DrawThreeLines)->Unit(benchmark::kMicrosecond);
BENCHMARK(DrawBusyWindow)->Unit(benchmark::kMicrosecond);
BENCHMARK(BuildGlyphSets)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
