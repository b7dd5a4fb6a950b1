#include <QtTest>

#include "ui/level_preview_picture.h"

namespace {

QImage WhiteBackground(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB555);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<std::uint16_t*>(picture.scanLine(y));
        std::fill(line, line + width, std::uint16_t{0x7FFF});
    }
    return picture;
}

}  // namespace

// The small level preview: the fitted picture by size and width, its state and its click.
class LevelPreviewPictureTest : public QObject {
    Q_OBJECT

private slots:
    void fitsIntoItsWidthAndTheHeightOfItsSize() {
        TLevelPreviewPicture pane;
        pane.resize(287, 1);
        pane.show();
        QCOMPARE(pane.height(), 50);
        pane.setPreviewSize(2);
        QCOMPARE(pane.height(), 100);
        pane.setPicture(WhiteBackground(640, 480));
        QCOMPARE(pane.picture().size(), QSize(133, 100));
        QCOMPARE(pane.background().size(), QSize(640, 480));
        pane.setPicture(WhiteBackground(200, 100));
        pane.setPreviewSize(4);
        QCOMPARE(pane.picture().size(), QSize(287, 144));
        // The splitter narrows the pane: the picture follows.
        pane.resize(143, pane.height());
        QCOMPARE(pane.picture().size(), QSize(143, 72));
        pane.setPreviewSize(0);
        QCOMPARE(pane.previewSize(), 1);
        pane.setPreviewSize(9);
        QCOMPARE(pane.previewSize(), 4);
    }

    void drawsThePictureInTheMiddle() {
        TLevelPreviewPicture pane;
        pane.resize(100, 50);
        pane.setPicture(WhiteBackground(10, 10));
        const QImage drawn = pane.grab().toImage();
        const QColor white(255, 255, 255);
        QCOMPARE(drawn.pixelColor(25, 0), white);
        QCOMPARE(drawn.pixelColor(74, 49), white);
        QVERIFY(drawn.pixelColor(24, 25) != white);
        QVERIFY(drawn.pixelColor(75, 25) != white);
    }

    void onlyAPictureIsEnabledAndClickable() {
        TLevelPreviewPicture pane;
        pane.resize(287, 50);
        pane.show();
        QVERIFY(QTest::qWaitForWindowExposed(&pane));
        QSignalSpy clicks(&pane, &TLevelPreviewPicture::clicked);
        QVERIFY(!pane.isEnabled());
        pane.setPicture(WhiteBackground(320, 240));
        QVERIFY(pane.isEnabled());
        QTest::mouseClick(&pane, Qt::LeftButton);
        QTest::mouseClick(&pane, Qt::RightButton);
        QCOMPARE(clicks.count(), 1);
        // A background of width or height 0, and a reset, leave it empty and disabled.
        pane.setPicture(QImage());
        QVERIFY(!pane.isEnabled());
        QVERIFY(pane.picture().isNull());
        QTest::mouseClick(&pane, Qt::LeftButton);
        QCOMPARE(clicks.count(), 1);
        pane.setPicture(WhiteBackground(320, 240));
        pane.reset();
        QVERIFY(!pane.isEnabled());
        QVERIFY(pane.background().isNull());
    }
};

QTEST_MAIN(LevelPreviewPictureTest)
#include "level_preview_picture_test.moc"
