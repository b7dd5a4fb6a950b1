#include <QtTest>

#include "ui/interface_texts.h"
#include "ui/level_preview_pane.h"

namespace {

// A white background.
QImage Background(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB555);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<std::uint16_t*>(picture.scanLine(y));
        std::fill(line, line + width, std::uint16_t{0x7FFF});
    }
    return picture;
}

QString ReadEnglish(const QString&, const QString&, const QString& english) { return english; }

}  // namespace

// The small level preview: the fitted picture by size and width, its state and its click.
class LevelPreviewPaneTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { LoadInterfaceTexts(ReadEnglish); }

    void fitsIntoItsWidthAndTheHeightOfItsSize() {
        TLevelPreviewPane pane;
        pane.resize(287, 1);
        pane.show();
        QCOMPARE(pane.height(), 50);
        pane.setPreviewSize(2);
        QCOMPARE(pane.height(), 100);
        pane.setPicture(Background(640, 480));
        QVERIFY(pane.isEnabled());
        QCOMPARE(pane.picture().size(), QSize(133, 100));
        QCOMPARE(pane.picture().format(), QImage::Format_RGB888);
        QCOMPARE(pane.background().size(), QSize(640, 480));

        pane.setPicture(Background(200, 100));
        pane.setPreviewSize(4);
        QCOMPARE(pane.height(), 200);
        QCOMPARE(pane.picture().size(), QSize(287, 144));
        // Moving the splitter narrows the pane: the picture follows.
        pane.resize(143, pane.height());
        QCOMPARE(pane.picture().size(), QSize(143, 72));
        // Sizes outside 1 to 4 are taken to the nearest.
        pane.setPreviewSize(0);
        QCOMPARE(pane.previewSize(), 1);
        pane.setPreviewSize(9);
        QCOMPARE(pane.previewSize(), 4);
    }

    void anEmptyBackgroundOrAResetLeavesItEmptyAndDisabled() {
        TLevelPreviewPane pane;
        pane.resize(287, 1);
        QVERIFY(!pane.isEnabled());
        pane.setPicture(Background(320, 240));
        QVERIFY(pane.isEnabled());
        pane.setPicture(QImage());
        QVERIFY(!pane.isEnabled());
        QVERIFY(pane.picture().isNull());
        pane.setPicture(Background(320, 240));
        pane.reset();
        QVERIFY(!pane.isEnabled());
        QVERIFY(pane.picture().isNull());
        QVERIFY(pane.background().isNull());
        // A pane of no width shows nothing, but its background can still be enlarged.
        pane.resize(0, 50);
        pane.setPicture(Background(320, 240));
        QVERIFY(pane.picture().isNull());
        QVERIFY(pane.isEnabled());
    }

    void aClickOnAPictureIsReported() {
        TLevelPreviewPane pane;
        pane.resize(287, 50);
        pane.show();
        QVERIFY(QTest::qWaitForWindowExposed(&pane));
        QSignalSpy clicks(&pane, &TLevelPreviewPane::clicked);
        QTest::mouseClick(&pane, Qt::LeftButton);
        QCOMPARE(clicks.count(), 0);
        pane.setPicture(Background(320, 240));
        QTest::mouseClick(&pane, Qt::LeftButton);
        QCOMPARE(clicks.count(), 1);
        QTest::mouseClick(&pane, Qt::RightButton);
        QCOMPARE(clicks.count(), 1);
        pane.reset();
        QTest::mouseClick(&pane, Qt::LeftButton);
        QCOMPARE(clicks.count(), 1);
    }

    void drawsThePictureInTheMiddle() {
        TLevelPreviewPane pane;
        pane.resize(100, 50);
        // A square background takes columns 25 to 74; the pane's own colour is around it.
        pane.setPicture(Background(10, 10));
        const QImage drawn = pane.grab().toImage();
        const QColor white(255, 255, 255);
        QCOMPARE(drawn.pixelColor(25, 0), white);
        QCOMPARE(drawn.pixelColor(74, 49), white);
        QVERIFY(drawn.pixelColor(24, 25) != white);
        QVERIFY(drawn.pixelColor(75, 25) != white);
    }

    void theHintFollowsTheLanguage() {
        TLevelPreviewPane pane;
        QCOMPARE(pane.toolTip(), QStringLiteral("Click to enlarge"));
        LoadInterfaceTexts([](const QString& section, const QString& key, const QString& english) {
            return section == QLatin1String("main") && key == QLatin1String("click_to_enlarge")
                       ? QStringLiteral("Cliquer pour agrandir")
                       : english;
        });
        pane.retranslate();
        QCOMPARE(pane.toolTip(), QStringLiteral("Cliquer pour agrandir"));
    }
};

QTEST_MAIN(LevelPreviewPaneTest)
#include "level_preview_pane_test.moc"
