#include <memory>
#include <string>
#include <vector>

#include <QPointer>
#include <QThread>
#include <QtTest>

#include "jobs/replace_all_job.h"
#include "tests/jobs/job_recorder.h"
#include "tests/lgp/text_archive.h"
#include "text/text_decoder.h"

namespace {

// Generous for the sanitizer build.
constexpr int kTimeout = 60000;

std::unique_ptr<TLGPFile> Archive() {
    return lgp_test::MakeTextArchive({
        {"ancnt3", {"cloud and cloud", "none", "CLOUD"}},
        {"maplist", {"cloud"}},
        {"anfrst_1", {"a cloud"}},
    });
}

}  // namespace

class ReplaceAllJobTest : public QObject {
    Q_OBJECT

private slots:
    void plansTheTextsAndLeavesTheArchive() {
        const auto archive = Archive();
        JobRecorder recorder;
        QVERIFY(!TReplaceAllThread::Running());
        auto* job = new TReplaceAllThread(*archive, "cloud", "Tifa", true);
        const QPointer<TReplaceAllThread> alive(job);
        QVERIFY(TReplaceAllThread::Running());
        // Each changed text with its occurrences and new text, as the plan holds them when the
        // job tells its end.
        QStringList planned;
        connect(
            job, &TJob::finished, &recorder,
            [&] {
                for (const lgp::TextReplacement& text : job->Planned()) {
                    planned << QStringLiteral("%1 %2 %3 %4")
                                   .arg(text.subFile)
                                   .arg(text.text)
                                   .arg(text.occurrences)
                                   .arg(QString::fromStdString(text::DecodeText(text.bytes)));
                }
            },
            Qt::BlockingQueuedConnection);
        // Told after the plan has been read.
        recorder.Listen(*job);
        job->StartDetached();
        QTRY_VERIFY_WITH_TIMEOUT(recorder.ended, kTimeout);

        // CLOUD differs in case, and the file that is no level stays.
        QCOMPARE(recorder.events, QStringList({"started", "finished true"}));
        QCOMPARE(planned, QStringList({"0 0 2 Tifa and Tifa", "2 0 1 a Tifa"}));
        QCOMPARE(recorder.percents, QList<int>({33, 66, 100}));
        QVERIFY(!recorder.offThread);
        QCOMPARE(lgp_test::TaggedTexts(*archive), lgp_test::TaggedTexts(*Archive()));
        QTRY_VERIFY_WITH_TIMEOUT(alive.isNull(), kTimeout);
        QVERIFY(!TReplaceAllThread::Running());
    }

    void aRefusedReplacementChangesNothing() {
        const auto archive = Archive();
        JobRecorder recorder;
        auto* job = new TReplaceAllThread(*archive, "cloud", "\x80", false);
        recorder.Listen(*job);
        job->StartDetached();
        QTRY_VERIFY_WITH_TIMEOUT(recorder.ended, kTimeout);

        QCOMPARE(recorder.events,
                 QStringList({"started",
                              "failed The replacement was refused, and no text has been modified.",
                              "finished false"}));
        QVERIFY2(recorder.detail.startsWith(QStringLiteral("level ancnt3, text 1: ")),
                 qPrintable(recorder.detail));
        QCOMPARE(lgp_test::TaggedTexts(*archive), lgp_test::TaggedTexts(*Archive()));
    }
};

QTEST_GUILESS_MAIN(ReplaceAllJobTest)
#include "replace_all_job_test.moc"
