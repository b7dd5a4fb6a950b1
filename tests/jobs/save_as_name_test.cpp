#include <QtTest>

#include "jobs/save_as_name.h"

class SaveAsNameTest : public QObject {
    Q_OBJECT

private slots:
    void appendsTheExtensionOnlyForTheArchiveFilter_data() {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<bool>("archiveFilter");
        QTest::addColumn<QString>("written");
        const auto row = [](const char* name, const char* chosen, bool filter, const char* out) {
            QTest::newRow(name) << QString::fromUtf8(chosen) << filter << QString::fromUtf8(out);
        };
        row("no extension", "/data/levels", true, "/data/levels.lgp");
        row("lower case", "/data/levels.lgp", true, "/data/levels.lgp");
        row("capitals", "/data/LEVELS.LGP", true, "/data/LEVELS.LGP");
        row("mixed case", "/data/levels.Lgp", true, "/data/levels.Lgp");
        row("other extension", "/data/levels.bak", true, "/data/levels.bak.lgp");
        row("longer extension", "/data/levels.lgpx", true, "/data/levels.lgpx.lgp");
        row("dot in a folder only", "/data/fields.lgp/levels", true,
            "/data/fields.lgp/levels.lgp");
        row("trailing dot", "/data/levels.", true, "/data/levels..lgp");
        row("second filter, no extension", "/data/levels", false, "/data/levels");
        row("second filter, other extension", "/data/levels.bak", false, "/data/levels.bak");
    }

    void appendsTheExtensionOnlyForTheArchiveFilter() {
        QFETCH(QString, chosen);
        QFETCH(bool, archiveFilter);
        QFETCH(QString, written);
        QCOMPARE(jobs::SaveAsFileName(chosen, archiveFilter), written);
    }
};

QTEST_GUILESS_MAIN(SaveAsNameTest)
#include "save_as_name_test.moc"
