#include <QTest>

#include "ui/overflow_hints.h"

class OverflowHintsTest : public QObject {
    Q_OBJECT

private slots:
    void hintsInTheInterfaceLanguage() {
        const text::Overflow wide{0, text::OverflowKind::Width, 1, 1, 296, 280};
        const text::Overflow tall{1, text::OverflowKind::Height, 4, 4, 73, 57};
        QCOMPARE(ui::OverflowHint(wide), QString("line 1 is 296 px in a window of 280"));
        QCOMPARE(ui::OverflowHint(tall), QString("page 2: 4 lines in a window for 3"));
        QCOMPARE(ui::OverflowHints({{0, 0, nullptr, wide}, {0, 1, nullptr, tall}}),
                 QString("line 1 is 296 px in a window of 280\npage 2: 4 lines in a window for 3"));
        QVERIFY(ui::OverflowHints({}).isEmpty());
        QCOMPARE(ui::PageCaption(1, 3), QString("page 2/3"));
    }
};

QTEST_GUILESS_MAIN(OverflowHintsTest)
#include "overflow_hints_test.moc"
