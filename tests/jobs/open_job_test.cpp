#include <algorithm>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QFile>
#include <QPointer>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include "jobs/open_job.h"
#include "lgp/archive_loader.h"
#include "lgp/level_tables.h"
#include "sample/sample_archive.h"
#include "tests/jobs/job_recorder.h"

namespace {

// Generous for the sanitizer build.
constexpr int kTimeout = 60000;

// The sub-file names and every level's texts, to compare two loads of one archive.
std::vector<std::string> Contents(const TLGPFile& archive) {
    std::vector<std::string> contents;
    for (const auto& subFile : archive.SubFiles) {
        contents.push_back(subFile->Name + " " + subFile->Description);
        for (const TLevelText& text : subFile->Texts) {
            contents.emplace_back(text.Bytes.begin(), text.Bytes.end());
        }
    }
    return contents;
}

}  // namespace

class OpenJobTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QVERIFY(folder_.isValid());
        path_ = folder_.filePath(QStringLiteral("levels.lgp"));
        sample_ = sample::WriteSampleArchive(path_.toStdString(), {.levels = 6});
    }

    void opensOnAThreadWhileTheWindowHandlesEachReport() {
        TLGPFile archive;
        JobRecorder recorder;
        auto* job = new TOpenThread(archive, path_);
        const QPointer<TOpenThread> alive(job);
        recorder.Listen(*job);
        bool heldWhileHandled = true;
        QObject::connect(job, &TJob::progress, &recorder, [&](int percent) {
            heldWhileHandled &= percent == (job->Current() + 1) * 100 / archive.Count;
        }, Qt::BlockingQueuedConnection);
        job->StartDetached();
        QTRY_VERIFY_WITH_TIMEOUT(recorder.ended, kTimeout);

        QCOMPARE(recorder.events, QStringList({"started", "finished true"}));
        QVERIFY(!recorder.offThread);
        QVERIFY(heldWhileHandled);
        QVERIFY(!recorder.percents.isEmpty());
        QCOMPARE(recorder.percents.last(), 100);
        QVERIFY(std::adjacent_find(recorder.percents.begin(), recorder.percents.end(),
                                   std::greater_equal<>()) == recorder.percents.end());

        TLGPFile expected;
        lgp::LoadArchive(expected, path_.toStdString());
        QCOMPARE(static_cast<std::size_t>(expected.Count), sample_.files.size());
        QVERIFY(Contents(archive) == Contents(expected));
        QCOMPARE(archive.FileName, path_.toStdString());
        QTRY_VERIFY_WITH_TIMEOUT(alive.isNull(), kTimeout);
    }

    void anUnreadableFileLeavesNoArchive_data() {
        QTest::addColumn<QString>("kind");
        // The text that the language loader set, if any.
        QTest::addColumn<QString>("translated");
        QTest::newRow("eight random bytes") << QStringLiteral("short") << QString();
        QTest::newRow("missing file") << QStringLiteral("missing") << QString();
        QTest::newRow("empty path") << QStringLiteral("empty") << QString();
        QTest::newRow("bad last level") << QStringLiteral("badLevel") << QString();
        QTest::newRow("translated") << QStringLiteral("missing") << QStringLiteral("Fichier invalide.");
    }

    void anUnreadableFileLeavesNoArchive() {
        QFETCH(QString, kind);
        QFETCH(QString, translated);
        QString path = path_;
        if (kind == "short") {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write("\x3a\x91\x07\xee\x52\x00\xc4\x18", 8);
        } else if (kind == "missing") {
            path = folder_.filePath(QStringLiteral("nowhere.lgp"));
        } else if (kind == "empty") {
            path.clear();
        } else {
            SpoilLastLevel();
        }

        TLGPFile archive;
        JobRecorder recorder;
        auto* job = new TOpenThread(archive, path);
        if (!translated.isEmpty()) job->SetFailureText(translated);
        recorder.Listen(*job);
        job->StartDetached();
        QTRY_VERIFY_WITH_TIMEOUT(recorder.ended, kTimeout);

        const QString shown = translated.isEmpty() ? QStringLiteral("Invalid file.") : translated;
        QCOMPARE(recorder.events, QStringList({"started", "failed " + shown, "finished false"}));
        QVERIFY(!recorder.detail.isEmpty());
        QVERIFY(archive.SubFiles.empty());
        QCOMPARE(archive.Count, 0);
        QVERIFY(!archive.Stream);
        QVERIFY(archive.FileName.empty());
    }

    // As the compare job does: its own thread runs the open quietly and waits for it, while
    // the window's thread takes the reports.
    void aQuietOpenIsAwaitedByItsCreator() {
        TLGPFile archive;
        JobRecorder recorder;
        QStringList eventsWhenAwaited;
        QList<int> percentsWhenAwaited;
        const std::unique_ptr<QThread> creator(QThread::create([&] {
            TOpenThread job(archive, path_, true);
            recorder.Listen(job);
            job.RunAndWait();
            eventsWhenAwaited = recorder.events;
            percentsWhenAwaited = recorder.percents;
        }));
        creator->start();
        QTRY_VERIFY_WITH_TIMEOUT(creator->isFinished(), kTimeout);

        QCOMPARE(eventsWhenAwaited, QStringList({"finished true"}));
        QVERIFY(!percentsWhenAwaited.isEmpty());
        QCOMPARE(percentsWhenAwaited.last(), 100);
        QCOMPARE(static_cast<std::size_t>(archive.Count), sample_.files.size());
        QCOMPARE(archive.SubFiles.size(), static_cast<std::size_t>(archive.Count));
    }

private:
    // Overwrites the stored stream of the last level in table order, after its length, with
    // bytes that decode to no field file.
    void SpoilLastLevel() {
        TLGPFile archive;
        lgp::LoadArchive(archive, path_.toStdString());
        const TLGPSubFile* last = nullptr;
        for (const auto& subFile : archive.SubFiles) {
            if (lgp::IsLevel(*subFile)) last = subFile.get();
        }
        QVERIFY(last != nullptr);
        const std::streamoff start = last->Offset + TLGPFile::kDataHeaderSize + 4;
        const std::string junk(static_cast<std::size_t>(last->Length - 4), '\xff');
        archive = TLGPFile();
        std::fstream file(path_.toStdString(), std::ios::binary | std::ios::in | std::ios::out);
        file.seekp(start);
        file.write(junk.data(), static_cast<std::streamsize>(junk.size()));
        QVERIFY(file.good());
    }

    QTemporaryDir folder_;
    sample::SampleArchive sample_;
    QString path_;
};

QTEST_GUILESS_MAIN(OpenJobTest)
#include "open_job_test.moc"
