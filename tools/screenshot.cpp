// Draws the editor's main window with an archive open, a level and a text selected, into a
// PNG, without a display (run with QT_QPA_PLATFORM=offscreen). Used for the README's pictures.
// Usage: orvenne_screenshot [--language FILE.lng] ARCHIVE LEVEL TEXT OUTPUT.png [GAME_VIEW.png]
//            [--original ORIGINAL]
// With --language the window speaks that language file's language, Qt's own texts included.
// With GAME_VIEW.png the text preview shows the game view, larger, and is also written alone to
// that file; the file list is sorted by its overflowing texts, the most first, and widened to
// show every column.
// With --original, ORIGINAL is read as the archive's original: the window is larger, the
// original stands above the editor with its preview, and the file list is widened to show its
// Translated column.
#include <cstdio>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QPixmap>
#include <QSplitter>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeView>

#include "jobs/qt_strings.h"
#include "ui/archive_session.h"
#include "ui/editor_settings.h"
#include "ui/file_list_model.h"
#include "ui/file_list_view.h"
#include "ui/main_form.h"
#include "ui/main_menu.h"

namespace {

constexpr int kGameViewWidth = 1000;
constexpr int kGameViewHeight = 660;
constexpr int kGameViewPreviewSize = 3;
constexpr int kOriginalWidth = 1100;
constexpr int kOriginalHeight = 700;
constexpr int kOriginalPreviewSize = 2;

// The game view on, the text preview large, the file list as wide as its columns and sorted by
// overflows.
void ShowGameView(TMainForm& form) {
    form.resize(kGameViewWidth, kGameViewHeight);
    form.findChild<QCheckBox*>(QStringLiteral("gameViewBox"))->setChecked(true);
    form.findChild<TMainMenu*>()->levelPreviewSizeAction(kGameViewPreviewSize)->trigger();
    // As two clicks on the column's header: ascending, then descending.
    QHeaderView* header = form.findChild<QTreeView*>(QStringLiteral("filesView"))->header();
    for (int click = 0; click < 2; ++click)
        emit header->sectionClicked(TFileListModel::kOverflowsColumn);
    auto* splitter = form.findChild<QSplitter*>(QStringLiteral("mainSplitter"));
    const int files = form.findChild<TFileListView*>()->widthForColumns();
    splitter->setSizes({files, kGameViewWidth - files});
}

// The original above the editor with its preview, and the file list as wide as its columns,
// the Translated column among them.
void ShowOriginal(TMainForm& form) {
    form.resize(kOriginalWidth, kOriginalHeight);
    const int files = form.findChild<TFileListView*>()->widthForColumns();
    form.findChild<QSplitter*>(QStringLiteral("mainSplitter"))
        ->setSizes({files, kOriginalWidth - files});
    form.findChild<QToolButton*>(QStringLiteral("originalPreviewButton"))->setChecked(true);
    form.findChild<TMainMenu*>()->levelPreviewSizeAction(kOriginalPreviewSize)->trigger();
    // Laid out before the level is selected, so that its row is scrolled into view.
    QApplication::processEvents();
}

bool WaitForJobs(const TArchiveSession& session) {
    QElapsedTimer waited;
    waited.start();
    while (session.jobRunning() && waited.elapsed() < 60'000) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    return !session.jobRunning();
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QStringList arguments = QApplication::arguments();
    QString language;
    if (arguments.size() > 2 && arguments[1] == QStringLiteral("--language")) {
        language = arguments[2];
        arguments.remove(1, 2);
    }
    QString original;
    if (const qsizetype at = arguments.indexOf(QStringLiteral("--original"));
        at >= 0 && at + 1 < arguments.size()) {
        original = arguments[at + 1];
        arguments.remove(at, 2);
    }
    if (arguments.size() != 5 && arguments.size() != 6) {
        std::fprintf(stderr, "usage: orvenne_screenshot [--language FILE.lng] ARCHIVE LEVEL TEXT "
                             "OUTPUT.png [GAME_VIEW.png] [--original ORIGINAL]\n");
        return 2;
    }
    const bool gameView = arguments.size() == 6;
    // Settings of its own: the picture shows the editor as it first starts, in the language
    // given.
    const QTemporaryDir settings;
    if (!language.isEmpty()) {
        const QString name = QFileInfo(language).completeBaseName();
        if (!QFile::copy(language, QDir(settings.path()).filePath(name + QStringLiteral(".lng"))) ||
            !TEditorSettings::writeLanguage(QDir(settings.path()).filePath(QStringLiteral("settings.ini")),
                                            name)) {
            std::fprintf(stderr, "orvenne_screenshot: cannot use the language file\n");
            return 1;
        }
    }
    TMainForm form({arguments[1]}, TEditorPaths::inFolder(settings.path()));
    form.show();
    TArchiveSession& session = form.session();
    QElapsedTimer waited;
    waited.start();
    while ((session.jobRunning() || session.archive() == nullptr) && waited.elapsed() < 60'000) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    int level = -1;
    for (std::size_t index = 0; session.archive() != nullptr && index < session.archive()->SubFiles.size(); ++index) {
        if (jobs::fromWindows1252(session.archive()->SubFiles[index]->Name) == arguments[2]) {
            level = static_cast<int>(index);
        }
    }
    if (level < 0) {
        std::fprintf(stderr, "orvenne_screenshot: cannot open the archive or find the level\n");
        return 1;
    }
    if (gameView) ShowGameView(form);
    if (!original.isEmpty()) {
        session.openOriginal(QFileInfo(original).absoluteFilePath());
        if (!WaitForJobs(session)) return 1;
        ShowOriginal(form);
    }
    session.selectSubFile(level);
    session.selectText(arguments[3].toInt() - 1);
    QApplication::processEvents();
    if (gameView &&
        !form.findChild<QWidget*>(QStringLiteral("textPreview"))->grab().save(arguments[5])) {
        return 1;
    }
    return form.grab().save(arguments[4]) ? 0 : 1;
}
