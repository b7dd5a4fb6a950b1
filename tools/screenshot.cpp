// Draws the editor's main window with an archive open, a level and a text selected, into a
// PNG, without a display (run with QT_QPA_PLATFORM=offscreen). Used for the README's picture.
// Usage: orvenne_screenshot ARCHIVE LEVEL TEXT OUTPUT.png
#include <cstdio>

#include <QApplication>
#include <QElapsedTimer>
#include <QPixmap>
#include <QTemporaryDir>

#include "ui/archive_session.h"
#include "ui/main_form.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() != 5) {
        std::fprintf(stderr, "usage: orvenne_screenshot ARCHIVE LEVEL TEXT OUTPUT.png\n");
        return 2;
    }
    // Settings of its own: the picture shows the editor as it first starts.
    const QTemporaryDir settings;
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
        if (QString::fromStdString(session.archive()->SubFiles[index]->Name) == arguments[2]) {
            level = static_cast<int>(index);
        }
    }
    if (level < 0) {
        std::fprintf(stderr, "orvenne_screenshot: cannot open the archive or find the level\n");
        return 1;
    }
    session.selectSubFile(level);
    session.selectText(arguments[3].toInt() - 1);
    QApplication::processEvents();
    return form.grab().save(arguments[4]) ? 0 : 1;
}
