#include <QLabel>
#include <QLocale>
#include <QTreeWidget>
#include <QtTest>

#include "ui/compare_result_form.h"
#include "ui/interface_texts.h"

namespace {

QString ReadEnglish(const QString&, const QString&, const QString& english) { return english; }

// Each row's four cells, and the header's, as shown.
QStringList Cells(QTreeWidget& view) {
    QStringList cells;
    for (int column = 0; column < 4; ++column) cells << view.headerItem()->text(column);
    for (int row = 0; row < view.topLevelItemCount(); ++row) {
        for (int column = 0; column < 4; ++column) cells << view.topLevelItem(row)->text(column);
    }
    return cells;
}

TFilesComparison Comparison(lgp::ArchiveCounts current, lgp::ArchiveCounts reference,
                            std::int32_t texts, std::int32_t windowedTexts, std::int32_t windows) {
    lgp::ArchiveComparison counts{current, reference, texts, windowedTexts, windows};
    return {QStringLiteral("/game/field/levels.lgp"), QStringLiteral("/backup/levels.lgp"), counts};
}

}  // namespace

Q_DECLARE_METATYPE(TFilesComparison)

class CompareResultFormTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void cleanup() {
        ui::LoadInterfaceTexts(ReadEnglish);
        QLocale::setDefault(QLocale::c());
    }

    void showsTheCountsDifferencesAndShares_data() {
        QTest::addColumn<TFilesComparison>("comparison");
        QTest::addColumn<QStringList>("cells");
        const QStringList header = {"Original file", "Current file", "Differences", "Percentage"};
        const lgp::ArchiveCounts demo{702, 31652, 28640, 29556};
        QTest::newRow("the same archive")
            << Comparison(demo, demo, 0, 0, 0)
            << header +
                   QStringList{"31,652 texts",          "31,652 texts",          "0", "0.00 %",
                               "28,640 windowed texts", "28,640 windowed texts", "0", "0.00 %",
                               "29,556 windows",        "29,556 windows",        "0", "0.00 %"};
        QTest::newRow("differences")
            << Comparison({2, 8, 3, 0}, {2, 8, 3, 0}, 5, 1, 0)
            << header + QStringList{"8 texts", "8 texts", "5", "62.50 %", "3 windowed texts",
                                    "3 windowed texts", "1", "33.33 %",
                                    // No window to share in: no percentage.
                                    "0 windows", "0 windows", "0", "-"};
        QTest::newRow("a level fewer")
            << Comparison(demo, {701, 31600, 28600, 29500}, -1, -1, -1)
            << header + QStringList{"31,600 texts",          "31,652 texts",          "-", "-",
                                    "28,600 windowed texts", "28,640 windowed texts", "-", "-",
                                    "29,500 windows",        "29,556 windows",        "-", "-"};
    }

    void showsTheCountsDifferencesAndShares() {
        QFETCH(TFilesComparison, comparison);
        QFETCH(QStringList, cells);
        TCompareResultForm form;
        form.fill(comparison);
        QCOMPARE(form.windowTitle(), QStringLiteral("Files comparison"));
        QCOMPARE(form.findChild<QLabel*>("currentFileLabel")->text(),
                 QStringLiteral("Current file : /game/field/levels.lgp"));
        QCOMPARE(form.findChild<QLabel*>("originalFileLabel")->text(),
                 QStringLiteral("Original file : /backup/levels.lgp"));
        QCOMPARE(Cells(*form.findChild<QTreeWidget*>("resultView")), cells);
    }

    void followsTheLocaleAndTheLanguage() {
        TCompareResultForm form;
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        form.fill(Comparison({2, 1234, 8, 8}, {2, 1234, 8, 8}, 617, 1, 2));
        ui::LoadInterfaceTexts(
            [](const QString& section, const QString& key, const QString& english) {
                if (section == "compare" && key == "texts") return QStringLiteral("Texte");
                if (section == "compare" && key == "percentage") return QStringLiteral("Anteil");
                return english;
            });
        const QStringList cells = Cells(*form.findChild<QTreeWidget*>("resultView"));
        QCOMPARE(cells.mid(3, 5),
                 QStringList({"Anteil", "1.234 Texte", "1.234 Texte", "617", "50,00 %"}));
    }
};

QTEST_MAIN(CompareResultFormTest)
#include "compare_result_form_test.moc"
