#include <functional>

#include <QApplication>
#include <QFocusEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include "lgp/window.h"
#include "preview/glyph_sets.h"
#include "ui/interface_texts.h"
#include "ui/window_modification_form.h"

namespace {

TWindow Window(int x, int y, int width, int height) {
    TWindow window;
    window.X = static_cast<std::int16_t>(x);
    window.Y = static_cast<std::int16_t>(y);
    window.Width = static_cast<std::uint16_t>(width);
    window.Height = static_cast<std::uint16_t>(height);
    return window;
}

QRect Values(const TWindow& window) { return {window.X, window.Y, window.Width, window.Height}; }

QString ReadEnglish(const QString&, const QString&, const QString& english) { return english; }

// The dialog's controls, found by name as the user finds them by sight.
struct Controls {
    explicit Controls(TWindowModificationForm& form)
        : image(form.findChild<QLabel*>("windowImage")),
          x(form.findChild<QSpinBox*>("xField")),
          y(form.findChild<QSpinBox*>("yField")),
          width(form.findChild<QSpinBox*>("widthField")),
          height(form.findChild<QSpinBox*>("heightField")),
          lines(form.findChild<QMenu*>("linesMenu")),
          ok(form.findChild<QPushButton*>("okButton")),
          cancel(form.findChild<QPushButton*>("cancelButton")) {}

    void click(TWindowModificationForm& form, const char* button) const {
        form.findChild<QAbstractButton*>(button)->click();
    }
    // Presses the left button at pos of the image, moves the mouse by delta and releases it.
    void drag(QPoint pos, QPoint delta) const {
        const QPoint target = image->mapToGlobal(pos) + delta;
        QTest::mousePress(image, Qt::LeftButton, {}, pos);
        QTest::mouseMove(image, image->mapFromGlobal(target));
        QTest::mouseRelease(image, Qt::LeftButton, {}, image->mapFromGlobal(target));
    }
    QRect fields() const { return {x->value(), y->value(), width->value(), height->value()}; }

    QLabel* image;
    QSpinBox* x;
    QSpinBox* y;
    QSpinBox* width;
    QSpinBox* height;
    QMenu* lines;
    QPushButton* ok;
    QPushButton* cancel;
};

}  // namespace

class WindowModificationFormTest : public QObject {
    Q_OBJECT

private:
    const preview::GlyphSets glyphs_ = preview::GlyphSets::FromBuiltinFont();

    // Shows the dialog for window and runs steps while it is shown; steps end it with OK or
    // Cancel (the dialog is cancelled if they do not, as after a failed check).
    bool edit(TWindowModificationForm& form, TWindow& window,
              const std::function<void(const Controls&)>& steps) {
        QTimer::singleShot(0, &form, [&] {
            steps(Controls(form));
            if (form.isVisible()) form.reject();
        });
        return form.edit(window, "{CLOUD}\r\nHello.", glyphs_, preview::DefaultWindowColors);
    }

private slots:
    void cleanup() { ui::LoadInterfaceTexts(ReadEnglish); }

    // As the game view draws it: a page of the text unwrapped, what passes the window's edges
    // drawn beside it; a window wide enough shows nothing beyond itself.
    void theWindowShowsItsPageAsTheGameDrawsIt() {
        TWindowModificationForm form;
        TWindow window = Window(10, 20, 60, 41);
        const std::string text = "A line far too long for the window\r\n{NEW PAGE}Two";
        QSize narrow;
        QSize wide;
        QSize secondPage;
        QTimer::singleShot(0, &form, [&] {
            narrow = form.findChild<QLabel*>("overflowImage")->size();
            QCOMPARE(form.findChild<QLabel*>("overflowImage")->pos(), QPoint(10, 20));
            Controls(form).width->setValue(320);
            wide = form.findChild<QLabel*>("overflowImage")->size();
            form.reject();
        });
        form.edit(window, text, glyphs_, preview::DefaultWindowColors);
        QVERIFY(narrow.width() > 60);
        QCOMPARE(narrow.height(), 41);
        QCOMPARE(wide, QSize(320, 41));

        // The second page fits; the window image alone is drawn.
        QTimer::singleShot(0, &form, [&] {
            secondPage = form.findChild<QLabel*>("overflowImage")->size();
            form.reject();
        });
        form.edit(window, text, glyphs_, preview::DefaultWindowColors, 1);
        QCOMPARE(secondPage, QSize(60, 41));
    }

    void buttonsSetTheFields_data() {
        QTest::addColumn<QRect>("window");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QRect>("expected");
        QTest::newRow("reposition") << QRect(-20, 300, 400, 100) << "repositionButton"
                                    << QRect(8, 124, 304, 100);
        QTest::newRow("reposition at right") << QRect(100, 10, 250, 50) << "repositionButton"
                                             << QRect(62, 10, 250, 50);
        QTest::newRow("full screen") << QRect(-5, 7, 0, 9) << "fullScreenButton"
                                     << QRect(8, 8, 304, 216);
        QTest::newRow("centre 304") << QRect(0, 0, 304, 57) << "horizontalCenterButton"
                                    << QRect(8, 0, 304, 57);
        // (320 - 321) / 2 truncates toward zero.
        QTest::newRow("centre 321") << QRect(50, 0, 321, 57) << "horizontalCenterButton"
                                    << QRect(0, 0, 321, 57);
        QTest::newRow("centre 0") << QRect(50, 0, 0, 57) << "horizontalCenterButton"
                                  << QRect(160, 0, 0, 57);
        QTest::newRow("middle 100") << QRect(9, 0, 30, 100) << "verticalCenterButton"
                                    << QRect(9, 62, 30, 100);
        QTest::newRow("middle 227") << QRect(9, 5, 30, 227) << "verticalCenterButton"
                                    << QRect(9, -1, 30, 227);
    }

    void buttonsSetTheFields() {
        QFETCH(QRect, window);
        QFETCH(QString, button);
        QFETCH(QRect, expected);
        TWindowModificationForm form;
        TWindow edited = Window(window.x(), window.y(), window.width(), window.height());
        QVERIFY(edit(form, edited, [&](const Controls& controls) {
            controls.click(form, qPrintable(button));
            QCOMPARE(controls.image->pos(), expected.topLeft());
            controls.ok->click();
        }));
        QCOMPARE(Values(edited), expected);
    }

    // The image is at least 1 x 1; the fields keep 0, but Reposition reads the image.
    void heightZero() {
        TWindowModificationForm form;
        TWindow window = Window(10, 20, 100, 0);
        QVERIFY(edit(form, window, [&](const Controls& controls) {
            QCOMPARE(controls.image->geometry(), QRect(10, 20, 100, 1));
            QCOMPARE(controls.image->pixmap().size(), QSize(100, 1));
            controls.ok->click();
        }));
        QCOMPARE(Values(window), QRect(10, 20, 100, 0));
        QVERIFY(edit(form, window, [&](const Controls& controls) {
            controls.click(form, "repositionButton");
            controls.ok->click();
        }));
        QCOMPARE(Values(window), QRect(10, 20, 100, 1));
    }

    void linesMenuSetsTheHeight() {
        TWindowModificationForm form;
        TWindow window = Window(8, 8, 200, 25);
        QVERIFY(edit(form, window, [&](const Controls& controls) {
            const QList<QAction*> items = controls.lines->actions();
            QCOMPARE(items.size(), 15);
            QCOMPARE(items[0]->text(), QString("1 line"));
            QCOMPARE(items[1]->text(), QString("2 lines"));
            QCOMPARE(items[14]->text(), QString("15 lines"));
            items[2]->trigger();
            QCOMPARE(controls.height->value(), 57);
            QCOMPARE(controls.image->height(), 57);
            items[14]->trigger();
            controls.ok->click();
        }));
        QCOMPARE(Values(window), QRect(8, 8, 200, 249));
    }

    void typedValues() {
        TWindowModificationForm form;
        TWindow window = Window(50, 60, 200, 80);
        QVERIFY(edit(form, window, [&](const Controls& controls) {
            controls.width->selectAll();
            QTest::keyClicks(controls.width, "-5");
            QCOMPARE(controls.width->value(), 0);
            QCOMPARE(controls.image->width(), 1);
            // An empty field moves nothing until it is left; then it reads 0.
            controls.x->selectAll();
            QTest::keyClick(controls.x, Qt::Key_Backspace);
            QCOMPARE(controls.image->x(), 50);
            QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
            QApplication::sendEvent(controls.x, &leave);
            QCOMPARE(controls.x->text(), QString("0"));
            QCOMPARE(controls.image->x(), 0);
            // The window's 16-bit ranges, not values modulo 65536.
            controls.x->selectAll();
            QTest::keyClicks(controls.x, "40000");
            QCOMPARE(controls.x->value(), 4000);
            controls.height->setValue(70000);
            QCOMPARE(controls.height->value(), 65535);
            controls.ok->click();
        }));
        QCOMPARE(Values(window), QRect(4000, 60, 0, 65535));
    }

    void dragging_data() {
        QTest::addColumn<QPoint>("press");
        QTest::addColumn<QPoint>("delta");
        QTest::addColumn<QRect>("expected");
        // The window is at (20, 30), 200 x 100.
        QTest::newRow("right edge") << QPoint(197, 50) << QPoint(10, 0) << QRect(20, 30, 210, 100);
        QTest::newRow("left edge") << QPoint(3, 50) << QPoint(10, 0) << QRect(30, 30, 190, 100);
        QTest::newRow("top edge") << QPoint(100, 6) << QPoint(3, -5) << QRect(20, 25, 200, 105);
        QTest::newRow("bottom edge") << QPoint(100, 94) << QPoint(0, 7) << QRect(20, 30, 200, 107);
        QTest::newRow("bottom-left") << QPoint(0, 99) << QPoint(4, 6) << QRect(24, 30, 196, 106);
        QTest::newRow("top-right") << QPoint(199, 0) << QPoint(-9, 2) << QRect(20, 32, 191, 98);
        QTest::newRow("middle") << QPoint(100, 50) << QPoint(-35, 12) << QRect(-15, 42, 200, 100);
        // Just inside the bands: 7 pixels from the left, 6 from the right.
        QTest::newRow("past left band") << QPoint(7, 50) << QPoint(5, 5) << QRect(25, 35, 200, 100);
        QTest::newRow("past right band") << QPoint(193, 50) << QPoint(5, 0)
                                         << QRect(25, 30, 200, 100);
        // A left edge pushed past the right one keeps the window 1 pixel wide.
        QTest::newRow("left past right") << QPoint(0, 50) << QPoint(300, 0)
                                         << QRect(219, 30, 1, 100);
    }

    void dragging() {
        QFETCH(QPoint, press);
        QFETCH(QPoint, delta);
        QFETCH(QRect, expected);
        TWindowModificationForm form;
        TWindow window = Window(20, 30, 200, 100);
        QVERIFY(edit(form, window, [&](const Controls& controls) {
            controls.drag(press, delta);
            QCOMPARE(controls.image->geometry(), expected);
            QCOMPARE(controls.fields(), expected);
            QCOMPARE(controls.image->pixmap().size(), expected.size());
            QVERIFY(QApplication::overrideCursor() == nullptr);
            controls.ok->click();
        }));
        QCOMPARE(Values(window), expected);
    }

    void cancelAfterDragLeavesTheWindow() {
        TWindowModificationForm form;
        TWindow window = Window(20, 30, 200, 100);
        QVERIFY(!edit(form, window, [&](const Controls& controls) {
            controls.drag({100, 50}, {40, 40});
            controls.drag({197, 97}, {-50, -20});
            QCOMPARE(controls.fields(), QRect(60, 70, 150, 80));
            controls.cancel->click();
        }));
        QCOMPARE(Values(window), QRect(20, 30, 200, 100));
    }

    void cursorsShowWhatAPressWouldDo() {
        TWindowModificationForm form;
        TWindow window = Window(20, 30, 200, 100);
        edit(form, window, [&](const Controls& controls) {
            const auto hover = [&](QPoint pos) {
                QMouseEvent move(QEvent::MouseMove, pos, controls.image->mapToGlobal(pos),
                                 Qt::NoButton, Qt::NoButton, Qt::NoModifier);
                QApplication::sendEvent(controls.image, &move);
                return controls.image->cursor().shape();
            };
            QCOMPARE(hover({3, 3}), Qt::SizeFDiagCursor);
            QCOMPARE(hover({196, 96}), Qt::SizeFDiagCursor);
            QCOMPARE(hover({196, 2}), Qt::SizeBDiagCursor);
            QCOMPARE(hover({0, 50}), Qt::SizeHorCursor);
            QCOMPARE(hover({100, 99}), Qt::SizeVerCursor);
            QCOMPARE(hover({100, 50}), Qt::ArrowCursor);
            QTest::mousePress(controls.image, Qt::LeftButton, {}, {100, 50});
            QVERIFY(QApplication::overrideCursor() != nullptr);
            QCOMPARE(QApplication::overrideCursor()->shape(), Qt::SizeAllCursor);
            QTest::mouseRelease(controls.image, Qt::LeftButton, {}, {100, 50});
            QVERIFY(QApplication::overrideCursor() == nullptr);
        });
    }

    void gripsAtCornersAndEdgeMiddles() {
        TWindowModificationForm form;
        TWindow window = Window(0, 0, 100, 50);
        edit(form, window, [&](const Controls& controls) {
            const QImage picture = controls.image->pixmap().toImage();
            const QRgb border = qRgb(91, 121, 163);
            // The grips' top-left pixels, then their third inner rows.
            for (const QPoint place : {QPoint(0, 0), QPoint(46, 0), QPoint(93, 0), QPoint(0, 21),
                                       QPoint(93, 21), QPoint(0, 43), QPoint(46, 43),
                                       QPoint(93, 43)}) {
                QCOMPARE(picture.pixel(place), border);
                QCOMPARE(picture.pixel(place + QPoint(3, 3)), qRgb(192, 209, 234));
            }
            QVERIFY(picture.pixel(20, 21) != border);
        });
    }

    void fitToTextAndCaptions() {
        TWindowModificationForm form;
        TWindow window = Window(8, 8, 100, 25);
        QVERIFY(form.findChild<QPushButton*>("fitToTextButton")->isHidden());
        form.setFitToText([](QPoint at) {
            return std::optional<QRect>(QRect(at + QPoint(1, 2), QSize(150, 41)));
        });
        ui::LoadInterfaceTexts(
            [](const QString& section, const QString& key, const QString& english) {
                if (section == "window_modification" && key == "lines") return QString("lignes");
                if (section == "window_modification" && key == "window_modification")
                    return QString("Modification de la fenêtre");
                return english;
            });
        // Told by the language change, the dialog reads its captions again.
        QCOMPARE(form.windowTitle(), QString("Modification de la fenêtre"));
        QVERIFY(edit(form, window, [&](const Controls& controls) {
            QCOMPARE(controls.lines->actions()[3]->text(), QString("4 lignes"));
            controls.click(form, "fitToTextButton");
            controls.ok->click();
        }));
        QCOMPARE(Values(window), QRect(9, 10, 150, 41));
    }
};

QTEST_MAIN(WindowModificationFormTest)
#include "window_modification_form_test.moc"
