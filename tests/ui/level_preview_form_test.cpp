#include <QtTest>

#include <QLabel>
#include <QMainWindow>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>

#include "ui/level_preview_form.h"

namespace {

QImage Background(int width, int height, std::uint16_t color = 0) {
    QImage picture(width, height, QImage::Format_RGB555);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<std::uint16_t*>(picture.scanLine(y));
        std::fill(line, line + width, color);
    }
    return picture;
}

// The window's frame stands in the middle of the screen's available area, give or take the
// rounding of an odd remainder.
bool Centred(const QWidget& window) {
    const QRect area = window.screen()->availableGeometry();
    const QRect frame = window.frameGeometry();
    return qAbs((frame.left() - area.left()) - (area.right() - frame.right())) <= 1 &&
           qAbs((frame.top() - area.top()) - (area.bottom() - frame.bottom())) <= 1;
}

}  // namespace

// The enlarged level preview: caption, size, centring on the first opening, scrolling, Escape,
// refresh in place and reset.
class LevelPreviewFormTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        mainWindow = new QMainWindow;
        mainWindow->show();
        form = new TLevelPreviewForm(mainWindow);
    }
    void cleanup() { delete mainWindow; }

    void showsThePictureAtFullSizeInTheMiddleOfTheScreen() {
        QCOMPARE(form->windowTitle(), QStringLiteral("Preview"));
        form->showPicture(Background(320, 240, 0x4210), QStringLiteral("md1stin"));
        QVERIFY(QTest::qWaitForWindowExposed(form));
        QCOMPARE(form->windowTitle(), QStringLiteral("Preview md1stin"));
        QCOMPARE(form->size(), QSize(320, 240));
        QVERIFY(Centred(*form));
        // Five bits widened to eight: 16 becomes 132.
        QCOMPARE(form->picture().pixelColor(319, 239), QColor(132, 132, 132));
        QCOMPARE(form->findChild<QLabel*>(QStringLiteral("pictureLabel"))->pixmap().size(),
                 QSize(320, 240));
        QTest::keyClick(form, Qt::Key_Escape);
        QTRY_VERIFY(!form->isVisible());
    }

    void aPictureLargerThanTheScreenScrolls() {
        const QRect area = mainWindow->screen()->availableGeometry();
        form->showPicture(Background(area.width() + 500, 200), QStringLiteral("wide"));
        QVERIFY(QTest::qWaitForWindowExposed(form));
        const QSize frame = form->frameGeometry().size() - form->size();
        QCOMPARE(form->maximumSize(), area.size() - frame);
        QCOMPARE(form->width(), area.width() - frame.width());
        // The horizontal scroll bar is added below the picture rather than over it.
        const auto* scrollArea = form->findChild<QScrollArea*>(QStringLiteral("scrollArea"));
        QTRY_VERIFY(scrollArea->horizontalScrollBar()->maximum() > 0);
        QCOMPARE(scrollArea->verticalScrollBar()->maximum(), 0);
        QVERIFY(Centred(*form));
    }

    void anotherLevelRefreshesTheWindowWhereTheUserPutIt() {
        form->setPicture(Background(64, 32), QStringLiteral("md1_1"));
        QVERIFY(!form->isVisible());
        form->showPicture(Background(64, 32), QStringLiteral("md1_1"));
        QVERIFY(QTest::qWaitForWindowExposed(form));
        const QPoint moved = form->pos() + QPoint(-40, 30);
        form->move(moved);
        QTRY_COMPARE(form->pos(), moved);
        form->setPicture(Background(200, 100, 0x001F), QStringLiteral("md1_2"));
        QVERIFY(form->isVisible());
        QCOMPARE(form->windowTitle(), QStringLiteral("Preview md1_2"));
        QCOMPARE(form->size(), QSize(200, 100));
        QCOMPARE(form->picture().pixelColor(0, 0), QColor(0, 0, 255));
        QCOMPARE(form->pos(), moved);

        // Opened again after closing, it comes back where it was.
        form->close();
        form->showPicture(Background(64, 32), QStringLiteral("md1_1"));
        QVERIFY(QTest::qWaitForWindowExposed(form));
        QCOMPARE(form->pos(), moved);

        // A picture that would pass the screen's edge brings the window back onto it.
        const QRect area = form->screen()->availableGeometry();
        form->move(area.right() - 100, area.top());
        QTRY_COMPARE(form->pos(), QPoint(area.right() - 100, area.top()));
        form->setPicture(Background(320, 100), QStringLiteral("md1_3"));
        QVERIFY(form->frameGeometry().right() <= area.right());
    }

    void aFileThatIsNoLevelLeavesTheWindowInViewWithItsCaption() {
        form->showPicture(Background(320, 240), QStringLiteral("md1stin"));
        QVERIFY(QTest::qWaitForWindowExposed(form));
        const QRect shown = form->geometry();
        form->reset();
        QVERIFY(form->isVisible());
        QCOMPARE(form->windowTitle(), QStringLiteral("Preview"));
        QVERIFY(form->picture().isNull());
        QCOMPARE(form->geometry(), shown);
    }

private:
    QMainWindow* mainWindow = nullptr;
    TLevelPreviewForm* form = nullptr;
};

QTEST_MAIN(LevelPreviewFormTest)
#include "level_preview_form_test.moc"
