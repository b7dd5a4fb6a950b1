// The editor's launch as the user sees it, each run a new process without a display, from the
// start of the program until: its empty window is shown; the full demo archive given on its
// command line is listed; the same, with the installed "en_US" spelling dictionary chosen in
// settings.ini as a translator's settings have it (skipped when it is not installed); the
// overflow marks of every level are ready. Each child is this program run again as the editor,
// which it ends without clean-up as soon as the moment has come and the window has painted
// it; the time is the parent's, from starting the child to its end.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include "bench/demo_archive.h"
#include "jobs/qt_strings.h"
#include "platform/data_folders.h"
#include "platform/utf8_path.h"
#include "spelling/dictionaries.h"
#include "ui/archive_session.h"
#include "ui/editor_paths.h"
#include "ui/main_form.h"
#include "ui/overflow_marks.h"

namespace fs = std::filesystem;

namespace {

constexpr char kChildOption[] = "--launch-child";
constexpr char kDictionary[] = "en_US";

// What the child waits for before it ends.
enum class Moment { Shown, Listed, Checked };

const char* MomentName(Moment moment) {
    switch (moment) {
        case Moment::Shown:
            return "shown";
        case Moment::Listed:
            return "listed";
        case Moment::Checked:
            return "checked";
    }
    return "";
}

// The editor's settings of one kind of launch, in a folder of their own, with the system's
// dictionaries.
TEditorPaths ChildPaths(const QString& folder) {
    TEditorPaths paths = TEditorPaths::inFolder(folder);
    for (const fs::path& system : platform::DictionaryFolders()) {
        paths.dictionaryFolders.push_back(system);
    }
    return paths;
}

// Paints what waits to be painted, and ends the program without clean-up.
[[noreturn]] void EndPainted() {
    QApplication::sendPostedEvents();
    std::_Exit(0);
}

// The editor as ui/main.cpp starts it, ended once `moment` has come: at once, before the work
// that waits for an idle window is done.
[[noreturn]] void RunChild(int argc, char** argv, Moment moment, const QString& settings,
                           const QString& archive) {
    QApplication application(argc, argv);
    TMainForm form(archive.isEmpty() ? QStringList() : QStringList{archive}, ChildPaths(settings));
    const TArchiveSession& session = form.session();
    // Told after the window has listed the archive and is usable again.
    QObject::connect(&session, &TArchiveSession::jobEnded, &form, [&] {
        if (moment == Moment::Listed && session.archive() != nullptr) EndPainted();
    });
    form.show();
    if (moment == Moment::Shown) EndPainted();
    while (moment != Moment::Checked || session.jobRunning() || session.archive() == nullptr ||
           !session.overflowMarks().ready()) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    EndPainted();
}

// A settings folder for the launches, with the dictionary chosen or not.
QString SettingsFolder(bool dictionary) {
    static const QTemporaryDir plain;
    static const QTemporaryDir withDictionary;
    [[maybe_unused]] static const bool written = [] {
        std::ofstream(platform::PathFromUtf8(jobs::toUtf8(withDictionary.path())) / "settings.ini")
            << "[SETTINGS]\nSpellingDictionary=" << kDictionary << "\n";
        return true;
    }();
    return dictionary ? withDictionary.path() : plain.path();
}

void Launch(benchmark::State& state, Moment moment, bool dictionary) {
    if (dictionary && !spelling::FindDictionary(kDictionary, platform::DictionaryFolders())) {
        state.SkipWithError("the en_US dictionary is not installed");
        return;
    }
    const QString archive =
        moment == Moment::Shown
            ? QString()
            : jobs::fromUtf8(platform::Utf8FromPath(DemoArchivePath("orvenne_launch_bench.lgp")));
    const QString program = QCoreApplication::applicationFilePath();
    const QStringList arguments{QString::fromLatin1(kChildOption),
                                QString::fromLatin1(MomentName(moment)), SettingsFolder(dictionary),
                                archive};
    for (auto _ : state) {
        QProcess child;
        QElapsedTimer timer;
        timer.start();
        child.start(program, arguments);
        if (!child.waitForFinished(-1) || child.exitCode() != 0) {
            state.SkipWithError("the editor did not end as expected");
            return;
        }
        state.SetIterationTime(static_cast<double>(timer.nsecsElapsed()) / 1e9);
    }
}

BENCHMARK_CAPTURE(Launch, empty_window_shown, Moment::Shown, false)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(10);
BENCHMARK_CAPTURE(Launch, archive_listed, Moment::Listed, false)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(10);
BENCHMARK_CAPTURE(Launch, archive_listed_with_dictionary, Moment::Listed, true)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(10);
BENCHMARK_CAPTURE(Launch, overflow_marks_ready, Moment::Checked, false)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(10);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc == 5 && std::string(argv[1]) == kChildOption) {
        const std::string moment = argv[2];
        RunChild(1, argv,
                 moment == "shown"    ? Moment::Shown
                 : moment == "listed" ? Moment::Listed
                                      : Moment::Checked,
                 jobs::fromUtf8(argv[3]), jobs::fromUtf8(argv[4]));
    }
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fs::remove(DemoArchivePath("orvenne_launch_bench.lgp"));
}
