#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include "jobs/save_job.h"
#include "lgp/archive_loader.h"
#include "sample/sample_archive.h"
#include "tests/jobs/job_recorder.h"
#include "text/text_encoder.h"

namespace {

// Generous for the sanitizer build.
constexpr int kTimeout = 60000;

}  // namespace

class SaveJobTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QVERIFY(folder_.isValid());
        path_ = folder_.filePath(QStringLiteral("levels.lgp"));
        sample::WriteSampleArchive(path_.toStdString(), {.levels = 6});
        archive_ = TLGPFile();
        lgp::LoadArchive(archive_, path_.toStdString());
        edited_ = nullptr;
        for (const auto& subFile : archive_.SubFiles) {
            if (subFile->Texts.empty()) continue;
            edited_ = subFile.get();
            std::vector<std::uint8_t>& text = edited_->Texts[0].Bytes;
            const std::vector<std::uint8_t> more = text::EncodeText(" Edited.", false);
            text.insert(text.end() - 1, more.begin(), more.end());
            break;
        }
        QVERIFY(edited_ != nullptr);
    }

    void savesOverTheArchiveAndKeepsTheEdit() {
        JobRecorder recorder;
        Save(path_, recorder);

        QCOMPARE(recorder.events, QStringList({"started", "finished true"}));
        QVERIFY(!recorder.offThread);
        QVERIFY(!recorder.percents.isEmpty());
        QCOMPARE(recorder.percents.last(), 100);
        QVERIFY(std::adjacent_find(recorder.percents.begin(), recorder.percents.end(),
                                   std::greater_equal<>()) == recorder.percents.end());
        ExpectEditOnDisk();
    }

    void aFailedSaveLeavesTheArchiveUsable() {
        JobRecorder failing;
        const QString target = folder_.filePath(QStringLiteral("missing/levels.lgp"));
        Save(target, failing);

        QCOMPARE(failing.events, QStringList({"started",
                                              "failed An error occured during file saving.",
                                              "finished false"}));
        QVERIFY(!failing.detail.isEmpty());
        QVERIFY(!QDir(folder_.filePath(QStringLiteral("missing"))).exists());
        // Still open on its own file, the edit still pending: the next save writes it.
        QCOMPARE(archive_.FileName, path_.toStdString());
        QVERIFY(edited_->Texts[0].Bytes != edited_->SavedTexts[0]);
        JobRecorder retry;
        Save(path_, retry);
        QCOMPARE(retry.events.last(), QStringLiteral("finished true"));
        ExpectEditOnDisk();
    }

private:
    void Save(const QString& target, JobRecorder& recorder) {
        auto* job = new TSaveThread(archive_, target);
        recorder.Listen(*job);
        job->StartDetached();
        QTRY_VERIFY_WITH_TIMEOUT(recorder.ended, kTimeout);
    }

    void ExpectEditOnDisk() {
        TLGPFile reopened;
        lgp::LoadArchive(reopened, path_.toStdString());
        bool found = false;
        for (const auto& subFile : reopened.SubFiles) {
            if (subFile->Name != edited_->Name) continue;
            found = true;
            QVERIFY(subFile->Texts.at(0).Bytes == edited_->Texts[0].Bytes);
        }
        QVERIFY(found);
    }

    QTemporaryDir folder_;
    QString path_;
    TLGPFile archive_;
    TLGPSubFile* edited_ = nullptr;
};

QTEST_GUILESS_MAIN(SaveJobTest)
#include "save_job_test.moc"
