#include <functional>
#include <numeric>
#include <optional>
#include <string>
#include <vector>

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "jobs/compare_job.h"
#include "jobs/last_comparison.h"
#include "lgp/archive_loader.h"
#include "lgp/archive_saver.h"
#include "lgp/compress_stream.h"
#include "lgp/level_tables.h"
#include "sample/sample_archive.h"
#include "tests/jobs/job_recorder.h"
#include "tests/lgp/damaged_archive.h"

namespace {

// Generous for the sanitizer build.
constexpr int kTimeout = 60000;

// Every level's marks, in table order, as "level:text" of each marked text.
QStringList Marks(const TLGPFile& archive) {
    QStringList marks;
    for (std::size_t i = 0; i < archive.SubFiles.size(); ++i) {
        const TLGPSubFile& subFile = *archive.SubFiles[i];
        for (std::size_t t = 0; t < subFile.CompareMarks.size(); ++t) {
            if (subFile.CompareMarks[t] != 0) marks << QStringLiteral("%1:%2").arg(i).arg(t);
        }
    }
    return marks;
}

// The first level with at least two texts.
int LevelWithTexts(const TLGPFile& archive) {
    for (int i = 0; i < archive.Count; ++i) {
        if (lgp::IsLevel(archive.SubFile(i)) && archive.SubFile(i).Texts.size() >= 2) return i;
    }
    return -1;
}

}  // namespace

class CompareJobTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QVERIFY(folder_.isValid());
        path_ = folder_.filePath(QStringLiteral("levels.lgp"));
        sample_ = sample::WriteSampleArchive(path_.toStdString(), {.levels = 6});
        current_ = TLGPFile();
        lgp::LoadArchive(current_, path_.toStdString());
        level_ = LevelWithTexts(current_);
        QVERIFY(level_ >= 0);
    }

    void comparingWithItselfFindsNoDifference() {
        JobRecorder recorder;
        Compare(path_, recorder);
        QCOMPARE(recorder.events, QStringList({"started", "finished true"}));
        QVERIFY(!recorder.offThread);
        QCOMPARE(recorder.percents.last(), 100);

        const std::optional<TFilesComparison> last = jobs::LastComparison();
        QVERIFY(last.has_value());
        QCOMPARE(last->currentFile, path_);
        QCOMPARE(last->referenceFile, path_);
        const lgp::ArchiveComparison& counts = last->counts;
        QCOMPARE(counts.current.levels, static_cast<int>(sample_.levels.size()));
        QVERIFY(counts.current.texts > 0);
        QCOMPARE(counts.reference.texts, counts.current.texts);
        QCOMPARE(counts.differentTexts, 0);
        QCOMPARE(counts.differentWindowedTexts, 0);
        QCOMPARE(counts.differentWindows, 0);
        QCOMPARE(Marks(current_), QStringList());
    }

    void anArchiveWithALevelFewerIsNotComparable() {
        const QString fewer = folder_.filePath(QStringLiteral("fewer.lgp"));
        const int levels = static_cast<int>(sample_.levels.size()) - 1;
        sample::WriteSampleArchive(fewer.toStdString(), {.levels = levels});
        JobRecorder recorder;
        Compare(fewer, recorder);
        QCOMPARE(recorder.events, QStringList({"started", "finished true"}));
        const lgp::ArchiveComparison counts = jobs::LastComparison()->counts;
        QCOMPARE(counts.reference.levels, levels);
        QCOMPARE(counts.current.levels, levels + 1);
        QCOMPARE(counts.differentTexts, -1);
        QCOMPARE(counts.differentWindowedTexts, -1);
        QCOMPARE(counts.differentWindows, -1);
        QCOMPARE(Marks(current_), QStringList());
    }

    // The first comparison marks an unsaved edit; the second, with another archive, a text
    // that differs there, and the first mark stays.
    void twoComparisonsKeepTheMarksOfBoth() {
        current_.SubFile(level_).Texts[1].Bytes = {0x21, 0xFF};
        JobRecorder first;
        Compare(path_, first);
        QCOMPARE(jobs::LastComparison()->counts.differentTexts, 1);
        QCOMPARE(Marks(current_), QStringList({QStringLiteral("%1:1").arg(level_)}));

        TLGPFile copy;
        lgp::LoadArchive(copy, path_.toStdString());
        copy.SubFile(level_).Texts[0].Bytes = {0x22, 0xFF};
        const QString other = folder_.filePath(QStringLiteral("other.lgp"));
        lgp::SaveArchive(copy, other.toStdString(), lgp::CompressStream);
        JobRecorder second;
        Compare(other, second);
        QCOMPARE(jobs::LastComparison()->counts.differentTexts, 2);
        QCOMPARE(jobs::LastComparison()->referenceFile, other);
        QCOMPARE(Marks(current_), QStringList({QStringLiteral("%1:0").arg(level_),
                                               QStringLiteral("%1:1").arg(level_)}));
    }

    void anUnreadableReferenceStoresNoComparison_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("missing file") << QStringLiteral("missing");
        QTest::newRow("eight random bytes") << QStringLiteral("short");
    }

    void anUnreadableReferenceStoresNoComparison() {
        QFETCH(QString, kind);
        QString reference = folder_.filePath(QStringLiteral("nowhere.lgp"));
        if (kind == "short") {
            reference = folder_.filePath(QStringLiteral("short.lgp"));
            QFile file(reference);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("\x3a\x91\x07\xee\x52\x00\xc4\x18", 8);
        }
        jobs::StoreLastComparison(
            {QStringLiteral("earlier.lgp"), QStringLiteral("original.lgp"), {}});
        current_.SubFile(level_).Texts[0].Bytes = {0x21, 0xFF};
        JobRecorder recorder;
        Compare(reference, recorder);

        QCOMPARE(recorder.events,
                 QStringList({"started", "failed Invalid file.", "finished false"}));
        QVERIFY(!recorder.detail.isEmpty());
        QCOMPARE(jobs::LastComparison()->currentFile, QStringLiteral("earlier.lgp"));
        QCOMPARE(Marks(current_), QStringList());
    }

    // A reference with a level that cannot be parsed is compared without it once that is
    // agreed to, and not at all when it is declined or left unanswered; an archive opened with
    // such a level compares with its own file.
    void aReferenceWithAnUnreadableLevelIsAskedAbout() {
        const std::string name = current_.SubFile(level_).Name;
        const QString damaged = folder_.filePath(QStringLiteral("damaged.lgp"));
        const lgp_test::Bytes bytes =
            lgp_test::DamagedCopy(path_.toStdString(), {{name, lgp_test::LevelDamage::Unreadable}});
        QFile file(damaged);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
        file.close();
        TLGPFile read;
        lgp::LoadArchive(read, damaged.toStdString(), {}, 0, lgp::DamagedLevels::Keep);
        const QStringList listed = {
            QString::fromStdString(name + ": " + read.SubFile(level_).Damage)};
        current_.SubFile(level_).Texts[0].Bytes = {0x21, 0xFF};

        // Declined, then asked of no one.
        for (const bool asking : {true, false}) {
            jobs::StoreLastComparison(
                {QStringLiteral("earlier.lgp"), QStringLiteral("original.lgp"), {}});
            JobRecorder recorder;
            QStringList asked;
            const auto decline = [&asked](const QStringList& levels) {
                asked = levels;
                return false;
            };
            Compare(damaged, recorder,
                    asking ? std::function<bool(const QStringList&)>(decline) : nullptr);
            QCOMPARE(recorder.events,
                     QStringList({"started", "failed Invalid file.", "finished false"}));
            QCOMPARE(asked, asking ? listed : QStringList());
            QCOMPARE(recorder.detail, listed.join(u'\n'));
            QCOMPARE(jobs::LastComparison()->currentFile, QStringLiteral("earlier.lgp"));
        }

        JobRecorder recorder;
        Compare(damaged, recorder, [](const QStringList&) { return true; });
        QCOMPARE(recorder.events, QStringList({"started", "finished true"}));
        const lgp::ArchiveComparison counts = jobs::LastComparison()->counts;
        const int texts = std::accumulate(sample_.levels.begin(), sample_.levels.end(), 0,
                                          [](int sum, const sample::SampleLevel& level) {
                                              return sum + level.texts;
                                          }) -
                          sample_.Level(name).texts;
        QCOMPARE(counts.current.levels, static_cast<int>(sample_.levels.size()) - 1);
        QCOMPARE(counts.reference.levels, counts.current.levels);
        QCOMPARE(counts.current.texts, texts);
        QCOMPARE(counts.reference.texts, texts);
        // The edit lies in the level left out.
        QCOMPARE(counts.differentTexts, 0);
        QCOMPARE(Marks(current_), QStringList());

        TLGPFile own;
        lgp::LoadArchive(own, damaged.toStdString(), {}, 0, lgp::DamagedLevels::Keep);
        JobRecorder ownRecorder;
        auto* job = new TCompareTextsThread(own, damaged);
        connect(
            job, &TCompareTextsThread::damagedReference, this,
            [](const QStringList&, bool* compare) { *compare = true; },
            Qt::BlockingQueuedConnection);
        ownRecorder.Listen(*job);
        job->StartDetached();
        QTRY_VERIFY_WITH_TIMEOUT(ownRecorder.ended, kTimeout);
        QCOMPARE(ownRecorder.events, QStringList({"started", "finished true"}));
        QCOMPARE(jobs::LastComparison()->counts.differentTexts, 0);
        QCOMPARE(jobs::LastComparison()->counts.current.texts, texts);
    }

private:
    // Compares current_ with reference; `answer`, when given, answers the question about the
    // reference's unreadable levels (none: left as it is).
    void Compare(const QString& reference, JobRecorder& recorder,
                 const std::function<bool(const QStringList&)>& answer = {}) {
        auto* job = new TCompareTextsThread(current_, reference);
        if (answer) {
            connect(
                job, &TCompareTextsThread::damagedReference, this,
                [answer](const QStringList& levels, bool* compare) { *compare = answer(levels); },
                Qt::BlockingQueuedConnection);
        }
        recorder.Listen(*job);
        job->StartDetached();
        QTRY_VERIFY_WITH_TIMEOUT(recorder.ended, kTimeout);
    }

    QTemporaryDir folder_;
    sample::SampleArchive sample_;
    QString path_;
    TLGPFile current_;
    int level_ = -1;
};

QTEST_GUILESS_MAIN(CompareJobTest)
#include "compare_job_test.moc"
