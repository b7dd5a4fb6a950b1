#include <QDir>
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTest>

// The images of resources/images.qrc, compiled into this test as into the program.
class ImagesTest : public QObject {
    Q_OBJECT

private:
    static QImage Load(const QString& name) { return QImage(":/images/" + name); }

private slots:
    void everyImageLoadsWithTransparency() {
        const QStringList names = QDir(":/images").entryList();
        QVERIFY(!names.isEmpty());
        for (const QString& name : names) {
            const QImage image = Load(name);
            QVERIFY2(!image.isNull(), qPrintable(name));
            QVERIFY2(image.hasAlphaChannel(), qPrintable(name));
        }
    }

    // The names and sizes that the windows ask for.
    void sizes_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("size");
        for (const char* name : {"open.png", "save.png", "save_as.png", "modify_window.png",
                                 "horizontal_center.png", "vertical_center.png", "lines.png"}) {
            QTest::newRow(name) << name << QSize(16, 16);
        }
        QTest::newRow("grip.png") << "grip.png" << QSize(7, 7);
        // Drawn at the right end of a texts list row of 13 pixels.
        for (const char* name : {"overflow_mark.png", "finding_error.png", "finding_warning.png"}) {
            QTest::newRow(name) << name << QSize(11, 11);
        }
        for (const int side : {16, 32, 48, 64, 128, 256}) {
            const QString name = QString("orvenne_%1.png").arg(side);
            QTest::newRow(qPrintable(name)) << name << QSize(side, side);
        }
    }

    void sizes() {
        QFETCH(QString, name);
        QFETCH(QSize, size);
        QCOMPARE(Load(name).size(), size);
    }

    // The texts list draws one icon per row of 13 pixels, from 4 pixels in, and its caption
    // from 23; it writes the window count over the icon, right-aligned at 18.
    void textsListIconsFitTheirRows() {
        const QSize size = Load("window_icon.png").size();
        QVERIFY(size.height() <= 13);
        QVERIFY(size.width() >= 14 && size.width() <= 23 - 4 - 2);
        for (const char* name : {"disabled_window_icon.png", "window_icon_compared.png",
                                 "disabled_window_icon_compared.png"}) {
            QCOMPARE(Load(name).size(), size);
        }
    }
};

QTEST_GUILESS_MAIN(ImagesTest)
#include "images_test.moc"
