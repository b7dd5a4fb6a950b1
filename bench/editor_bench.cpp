// The editor's own timings, without a display, on the full demo archive: reading the archive
// again as its original until every text is marked and the progress shown, and one keystroke
// in the text editor (encoding the whole text, storing it in the level, checking it for the
// overflow marks and drawing the text preview, wrapped or in the game view; with an original
// archive also reviewing the text against its original, its marks, the level's and the
// archive's progress, and the original beside it with its preview). The launch is
// launch_bench's.
#include <filesystem>

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QToolButton>

#include <benchmark/benchmark.h>

#include "bench/demo_archive.h"
#include "jobs/qt_strings.h"
#include "lgp/level_tables.h"
#include "platform/utf8_path.h"
#include "ui/archive_session.h"
#include "ui/main_form.h"

namespace fs = std::filesystem;

namespace {

const fs::path& DemoArchivePath() { return ::DemoArchivePath("orvenne_editor_bench.lgp"); }

void WaitForOpen(TMainForm& form) {
    while (form.session().jobRunning() || form.session().archive() == nullptr) {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
}

// Settings of the benchmark's own, so that every run starts alike.
TEditorPaths BenchPaths() {
    static const QTemporaryDir folder;
    return TEditorPaths::inFolder(folder.path());
}

void OriginalToMarkedArchive(benchmark::State& state) {
    const QString path = jobs::fromUtf8(platform::Utf8FromPath(DemoArchivePath()));
    TMainForm form({path}, BenchPaths());
    form.show();
    WaitForOpen(form);
    TArchiveSession& session = form.session();
    for (auto _ : state) {
        session.openOriginal(path);
        while (session.jobRunning()) QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
}

void Keystroke(benchmark::State& state, bool gameView, bool withOriginal) {
    const QString path = jobs::fromUtf8(platform::Utf8FromPath(DemoArchivePath()));
    TMainForm form({path}, BenchPaths());
    form.show();
    WaitForOpen(form);
    form.findChild<QCheckBox*>(QStringLiteral("gameViewBox"))->setChecked(gameView);
    TArchiveSession& session = form.session();
    if (withOriginal) {
        // Itself: the text typed in turns translated with each keystroke, and back again with
        // each (untimed) deletion, the dearest change of its marks.
        session.openOriginal(path);
        while (session.jobRunning()) QApplication::processEvents(QEventLoop::AllEvents, 5);
        form.findChild<QToolButton*>(QStringLiteral("originalPreviewButton"))->setChecked(true);
    }
    // The level with the most texts, and its longest text shown in a window: the dearest
    // keystroke.
    const TLGPSubFile* busiest = nullptr;
    int busiestIndex = -1;
    for (std::size_t index = 0; index < session.archive()->SubFiles.size(); ++index) {
        const TLGPSubFile* subFile = session.archive()->SubFiles[index].get();
        if (lgp::IsLevel(*subFile) && (!busiest || subFile->Texts.size() > busiest->Texts.size())) {
            busiest = subFile;
            busiestIndex = static_cast<int>(index);
        }
    }
    std::size_t longest = 0;
    for (std::size_t t = 0; t < busiest->Texts.size(); ++t) {
        const TLevelText& text = busiest->Texts[t];
        if (!text.Windows.empty() && text.Bytes.size() > busiest->Texts[longest].Bytes.size())
            longest = t;
    }
    session.selectSubFile(busiestIndex);
    session.selectText(static_cast<int>(longest));
    auto* editor = form.findChild<QPlainTextEdit*>(QStringLiteral("textEditor"));
    editor->moveCursor(QTextCursor::End);
    for (auto _ : state) {
        editor->insertPlainText(QStringLiteral("a"));
        state.PauseTiming();
        editor->textCursor().deletePreviousChar();
        state.ResumeTiming();
    }
    state.counters["text_bytes"] = static_cast<double>(busiest->Texts[longest].Bytes.size());
    state.counters["windows"] = static_cast<double>(busiest->Texts[longest].Windows.size());
}

BENCHMARK(OriginalToMarkedArchive)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK_CAPTURE(Keystroke, wrapped_preview, false, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Keystroke, game_view, true, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Keystroke, with_original, false, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Keystroke, game_view_with_original, true, true)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fs::remove(DemoArchivePath());
}
