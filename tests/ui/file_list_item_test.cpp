#include <QtTest>

#include "ui/file_list_item.h"

// The order of the file list's columns: numbers by value, "-" before them, names by letters.
class FileListItemTest : public QObject {
    Q_OBJECT

private slots:
    void numbersCompareByValue() {
        QVERIFY(TFileListItem::CompareValues(QStringLiteral("9"), QStringLiteral("10")) < 0);
        QVERIFY(TFileListItem::CompareValues(QStringLiteral("10"), QStringLiteral("9")) > 0);
        QCOMPARE(TFileListItem::CompareValues(QStringLiteral("7"), QStringLiteral("7")), 0);
    }

    void aDashComesBeforeZero() {
        QVERIFY(TFileListItem::CompareValues(QStringLiteral("-"), QStringLiteral("0")) < 0);
        QVERIFY(TFileListItem::CompareValues(QStringLiteral("0"), QStringLiteral("-")) > 0);
        QCOMPARE(TFileListItem::CompareValues(QStringLiteral("-"), QStringLiteral("-")), 0);
    }

    void textsCompareWithoutRegardToCase() {
        QVERIFY(TFileListItem::CompareValues(QStringLiteral("ancnt3"), QStringLiteral("BLIN1")) <
                0);
        QVERIFY(TFileListItem::CompareValues(QStringLiteral("Blin1"), QStringLiteral("ancnt3")) >
                0);
        QCOMPARE(TFileListItem::CompareValues(QStringLiteral("MAPLIST"), QStringLiteral("maplist")),
                 0);
        // A number beside a name: both as text.
        QVERIFY(TFileListItem::CompareValues(QStringLiteral("12"), QStringLiteral("ab")) < 0);
        QVERIFY(TFileListItem::CompareValues(QStringLiteral("-"), QStringLiteral("Ancient")) < 0);
    }
};

QTEST_MAIN(FileListItemTest)
#include "file_list_item_test.moc"
