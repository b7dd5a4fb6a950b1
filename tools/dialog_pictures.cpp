// Draws the find dialog with a search text, and the comparison result window for two
// archives, into PNG files, without a display (run with QT_QPA_PLATFORM=offscreen). Used for
// the README's pictures; counts are written with the thousands separator of US English.
// Usage: orvenne_dialog_pictures CURRENT ORIGINAL FIND.png COMPARE.png
#include <cstdio>
#include <exception>

#include <QApplication>
#include <QLocale>
#include <QPixmap>
#include <QPlainTextEdit>

#include "jobs/last_comparison.h"
#include "jobs/qt_strings.h"
#include "lgp/archive_compare.h"
#include "lgp/archive_loader.h"
#include "ui/compare_result_form.h"
#include "ui/find_form.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() != 5) {
        std::fprintf(stderr,
                     "usage: orvenne_dialog_pictures CURRENT ORIGINAL FIND.png COMPARE.png\n");
        return 2;
    }
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));

    TFindForm find;
    find.findChild<QPlainTextEdit*>(QStringLiteral("findEdit"))
        ->setPlainText(QStringLiteral("{BARRET}\nShin-Ra"));
    find.show();
    QApplication::processEvents();
    if (!find.grab().save(arguments[3])) return 1;

    TFilesComparison comparison{arguments[1], arguments[2], {}};
    try {
        TLGPFile current;
        LoadArchive(current, jobs::toUtf8(arguments[1]));
        TLGPFile original;
        LoadArchive(original, jobs::toUtf8(arguments[2]));
        comparison.counts = CompareArchives(current, original);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "orvenne_dialog_pictures: %s\n", error.what());
        return 1;
    }
    TCompareResultForm result;
    result.fill(comparison);
    result.show();
    QApplication::processEvents();
    return result.grab().save(arguments[4]) ? 0 : 1;
}
