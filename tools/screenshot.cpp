// Draws the editor's main window with an archive open, a level and a text selected, into a
// PNG, without a display (run with QT_QPA_PLATFORM=offscreen). Used for the README's picture.
// Usage: orvenne_screenshot ARCHIVE LEVEL TEXT OUTPUT.png
#include <cstdio>

#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QPixmap>
#include <QTreeWidget>

#include "ui/main_form.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() != 5) {
        std::fprintf(stderr, "usage: orvenne_screenshot ARCHIVE LEVEL TEXT OUTPUT.png\n");
        return 2;
    }
    TMainForm form({arguments[1]});
    form.show();
    QElapsedTimer waited;
    waited.start();
    while ((form.JobRunning() || form.Archive() == nullptr) && waited.elapsed() < 60'000) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    const auto rows = form.ListViewFiles->findItems(arguments[2], Qt::MatchExactly, 1);
    if (form.Archive() == nullptr || rows.isEmpty()) {
        std::fprintf(stderr, "orvenne_screenshot: cannot open the archive or find the level\n");
        return 1;
    }
    form.ListViewFiles->setCurrentItem(rows.front());
    form.ListViewFiles->scrollToItem(rows.front(), QAbstractItemView::PositionAtCenter);
    form.ListBoxTexts->setCurrentRow(arguments[3].toInt() - 1);
    QApplication::processEvents();
    return form.grab().save(arguments[4]) ? 0 : 1;
}
