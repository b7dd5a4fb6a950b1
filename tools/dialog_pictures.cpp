// Draws the find dialog with a search text, the comparison result window for two archives, and
// the question asked before a mod folder export replaces an earlier one, into PNG files,
// without a display (run with QT_QPA_PLATFORM=offscreen). Used for the README's pictures;
// counts are written with the thousands separator of US English, or of the language given.
// Usage: orvenne_dialog_pictures [--language FILE.lng] CURRENT ORIGINAL FIND.png COMPARE.png
//        QUESTION.png
#include <cstdio>
#include <exception>

#include <QApplication>
#include <QFileInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPixmap>
#include <QPlainTextEdit>

#include "jobs/last_comparison.h"
#include "jobs/qt_strings.h"
#include "lgp/archive_compare.h"
#include "lgp/archive_loader.h"
#include "ui/compare_result_form.h"
#include "ui/find_form.h"
#include "ui/interface_texts.h"
#include "ui/language_catalog.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QStringList arguments = QApplication::arguments();
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    if (arguments.size() > 2 && arguments[1] == QStringLiteral("--language")) {
        ui::LoadLanguage(arguments[2]);
        QLocale::setDefault(ui::LanguageLocale(arguments[2]));
        arguments.remove(1, 2);
    }
    if (arguments.size() != 6) {
        std::fprintf(stderr, "usage: orvenne_dialog_pictures [--language FILE.lng] CURRENT "
                             "ORIGINAL FIND.png COMPARE.png QUESTION.png\n");
        return 2;
    }

    TFindForm find;
    find.findChild<QPlainTextEdit*>(QStringLiteral("findEdit"))
        ->setPlainText(QStringLiteral("{BARRET}\nShin-Ra"));
    find.show();
    QApplication::processEvents();
    if (!find.grab().save(arguments[3])) return 1;

    TFilesComparison comparison{arguments[1], arguments[2], {}};
    try {
        TLGPFile current;
        lgp::LoadArchive(current, jobs::toUtf8(arguments[1]));
        TLGPFile original;
        lgp::LoadArchive(original, jobs::toUtf8(arguments[2]));
        comparison.counts = lgp::CompareArchives(current, original);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "orvenne_dialog_pictures: %s\n", error.what());
        return 1;
    }
    TCompareResultForm result;
    result.fill(comparison);
    result.show();
    QApplication::processEvents();
    if (!result.grab().save(arguments[4])) return 1;

    QMessageBox question(QMessageBox::Question, QStringLiteral("Orvenne"),
                         ui::InterfaceText("messages", "replace_mod_export")
                             .arg(QFileInfo(arguments[1]).path() + QStringLiteral("/mod")),
                         QMessageBox::Yes | QMessageBox::No);
    question.show();
    QApplication::processEvents();
    return question.grab().save(arguments[5]) ? 0 : 1;
}
