#include "ui/overflow_marks.h"

#include <string>
#include <utility>

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "jobs/qt_strings.h"
#include "lgp/archive_loader.h"
#include "lgp/level_tables.h"
#include "sample/sample_archive.h"
#include "text/text_encoder.h"

namespace {

// Table indices of the first and the last level with a text shown in a window, and that text.
struct WindowedTexts {
    int firstLevel = -1;
    int firstText = -1;
    int lastLevel = -1;
};

WindowedTexts FindWindowedTexts(const TLGPFile& archive) {
    WindowedTexts found;
    for (std::size_t file = 0; file < archive.SubFiles.size(); ++file) {
        const TLGPSubFile& subFile = *archive.SubFiles[file];
        if (!lgp::IsLevel(subFile)) continue;
        for (std::size_t text = 0; text < subFile.Texts.size(); ++text) {
            if (subFile.Texts[text].Windows.empty()) continue;
            if (found.firstLevel < 0) {
                found.firstLevel = static_cast<int>(file);
                found.firstText = static_cast<int>(text);
            }
            found.lastLevel = static_cast<int>(file);
        }
    }
    return found;
}

// Wider than any window of the game.
const std::string kWide(200, 'W');

}  // namespace

class OverflowMarksTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(folder_.isValid());
        path_ = jobs::toUtf8(folder_.filePath(QStringLiteral("levels.lgp")));
        sample::WriteSampleArchive(path_, {.levels = 40});
    }

    void init() {
        archive_ = TLGPFile();
        lgp::LoadArchive(archive_, path_);
        found_ = FindWindowedTexts(archive_);
        QVERIFY(found_.firstLevel >= 0 && found_.lastLevel > found_.firstLevel);
    }

    // The levels are checked while the event loop is idle; an edit made before the check
    // reached its level counts all the same, and the end is told once.
    void checksTheLevelsWhileIdle() {
        TOverflowMarks marks;
        QSignalSpy told(&marks, &TOverflowMarks::marksChanged);
        marks.setArchive(&archive_);
        QVERIFY(!marks.ready());
        QCOMPARE(marks.overflowingTexts(found_.firstLevel), -1);
        QVERIFY(!marks.isOverflowing(found_.firstLevel, found_.firstText));

        Text(found_.firstLevel, found_.firstText) = text::EncodeText(kWide, true);
        marks.textChanged(found_.firstLevel, found_.firstText);
        // A level about to be shown is checked at once, telling nobody.
        marks.checkLevel(found_.lastLevel);
        QVERIFY(marks.overflowingTexts(found_.lastLevel) >= 0);
        QVERIFY(told.isEmpty());

        QTRY_VERIFY_WITH_TIMEOUT(marks.ready(), kTimeout);
        QCOMPARE(told.size(), 1);
        QCOMPARE(told.first(), (QVariantList{-1, -1}));
        QVERIFY(marks.isOverflowing(found_.firstLevel, found_.firstText));
        QVERIFY(marks.overflowingTexts(found_.firstLevel) >= 1);

        // From then on each edit is told as it is checked.
        Text(found_.firstLevel, found_.firstText) = text::EncodeText("W", true);
        marks.textChanged(found_.firstLevel, found_.firstText);
        QCOMPARE(told.size(), 2);
        QCOMPARE(told.last(), (QVariantList{found_.firstLevel, found_.firstText}));
        QVERIFY(!marks.isOverflowing(found_.firstLevel, found_.firstText));
    }

    // Other names check every level at once, even while the idle check runs; another
    // archive starts the check anew, and without one there is nothing to check.
    void namesAndArchivesStartTheCheckAnew() {
        TOverflowMarks marks;
        QSignalSpy told(&marks, &TOverflowMarks::marksChanged);
        marks.setArchive(&archive_);
        marks.setNames(text::CharacterNames::Widest);
        QVERIFY(marks.ready());
        QVERIFY(marks.overflowingTexts(found_.lastLevel) >= 0);
        QCOMPARE(told.size(), 1);

        marks.setArchive(&archive_);
        QVERIFY(!marks.ready());
        QCOMPARE(marks.overflowingTexts(found_.lastLevel), -1);
        marks.setArchive(nullptr);
        QVERIFY(marks.ready());
        QCOMPARE(marks.overflowingTexts(found_.lastLevel), -1);
        // The check of the archive set before is not finished for the one set now.
        QCoreApplication::processEvents();
        QCOMPARE(told.size(), 1);
    }

private:
    static constexpr int kTimeout = 60000;

    std::vector<std::uint8_t>& Text(int level, int text) {
        return archive_.SubFiles[static_cast<std::size_t>(level)]
            ->Texts[static_cast<std::size_t>(text)]
            .Bytes;
    }

    QTemporaryDir folder_;
    std::string path_;
    TLGPFile archive_;
    WindowedTexts found_;
};

QTEST_MAIN(OverflowMarksTest)
#include "overflow_marks_test.moc"
