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
    void storesTheTextsThenTellsWhichChanged() {
        const auto archive = Archive();
        JobRecorder recorder;
        QVERIFY(!TReplaceAllThread::Running());
        auto* job = new TReplaceAllThread(*archive, "cloud", "Tifa", true);
        const QPointer<TReplaceAllThread> alive(job);
        QVERIFY(TReplaceAllThread::Running());
        recorder.Listen(*job);
        QStringList storedWhenTold;
        connect(
            job, &TReplaceAllThread::textReplaced, &recorder,
            [&](int subFile, int text) {
                recorder.events << QStringLiteral("replaced text %1 %2").arg(subFile).arg(text);
                storedWhenTold << QString::fromStdString(text::DecodeText(
                    archive->SubFile(subFile).Texts[static_cast<std::size_t>(text)].Bytes));
            },
            Qt::BlockingQueuedConnection);
        connect(
            job, &TReplaceAllThread::replaced, &recorder,
            [&](int count) { recorder.events << QStringLiteral("count %1").arg(count); },
            Qt::BlockingQueuedConnection);
        job->StartDetached();
        QTRY_VERIFY_WITH_TIMEOUT(recorder.ended, kTimeout);

        // Texts, not occurrences; CLOUD differs in case, and the file that is no level stays.
        QCOMPARE(recorder.events, QStringList({"started", "replaced text 0 0", "replaced text 2 0",
                                               "count 2", "finished true"}));
        QCOMPARE(storedWhenTold, QStringList({"Tifa and Tifa", "a Tifa"}));
        QCOMPARE(recorder.percents, QList<int>({33, 66, 100}));
        QVERIFY(!recorder.offThread);
        QCOMPARE(lgp_test::TaggedTexts(*archive),
                 (std::vector<std::vector<std::string>>{
                     {"Tifa and Tifa", "none", "CLOUD"}, {"cloud"}, {"a Tifa"}}));
        QTRY_VERIFY_WITH_TIMEOUT(alive.isNull(), kTimeout);
        QVERIFY(!TReplaceAllThread::Running());
    }

    void aRefusedReplacementChangesNothing() {
        const auto archive = Archive();
        JobRecorder recorder;
        auto* job = new TReplaceAllThread(*archive, "cloud", "\x80", false);
        recorder.Listen(*job);
        connect(
            job, &TReplaceAllThread::textReplaced, &recorder,
            [&] { recorder.events << QStringLiteral("replaced text"); },
            Qt::BlockingQueuedConnection);
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
