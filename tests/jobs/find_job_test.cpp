#include <memory>
#include <string>
#include <vector>

#include <QThread>
#include <QtTest>

#include "jobs/find_job.h"
#include "tests/lgp/text_archive.h"
#include "text/text_encoder.h"

namespace {

// Generous for the sanitizer build.
constexpr int kTimeout = 60000;

std::unique_ptr<TLGPFile> Archive() {
    return lgp_test::MakeTextArchive({
        {"ancnt3", {"Hello Cloud", "A\r\nB"}},
        {"maplist", {"zebra"}},
        {"anfrst_1", {"cloud"}},
    });
}

TFindRequest Request(std::string search, lgp::FindMode mode = lgp::FindMode::FromStart,
                     lgp::SearchStart start = {}) {
    return {std::move(search), false, mode, {0, 1, 2}, start};
}

// Stands in for the main window: records the finder's reports as they reach this thread,
// connected as the window connects them.
class Recorder : public QObject {
public:
    explicit Recorder(TFindThread& finder) {
        const auto blocking = Qt::BlockingQueuedConnection;
        connect(
            &finder, &TFindThread::started, this, [this] { Note("started"); }, blocking);
        connect(
            &finder, &TFindThread::progress, this,
            [this](int percent) { Note(QStringLiteral("progress %1").arg(percent)); }, blocking);
        connect(
            &finder, &TFindThread::ended, this, [this] { Note("ended"); }, blocking);
        connect(
            &finder, &TFindThread::found, this,
            [this](int row, int subFile, int text, qint64 position, qint64 length) {
                Note(QStringLiteral("found %1 %2 %3 %4 %5")
                         .arg(row)
                         .arg(subFile)
                         .arg(text)
                         .arg(position)
                         .arg(length));
            },
            blocking);
        connect(
            &finder, &TFindThread::notFound, this, [this] { Note("notFound"); }, blocking);
        // Direct: runs on the thread that searches.
        connect(
            &finder, &TFindThread::started, this,
            [this] { searchThreads.append(QThread::currentThread()); }, Qt::DirectConnection);
    }

    QStringList events;
    QList<QThread*> searchThreads;
    bool offThread = false;

private:
    void Note(const QString& event) {
        if (QThread::currentThread() != thread()) offThread = true;
        events.append(event);
    }
};

}  // namespace

class FindJobTest : public QObject {
    Q_OBJECT

private slots:
    void reportsAHitOrNoneAfterItsProgress() {
        const auto archive = Archive();
        TFindThread finder;
        Recorder recorder(finder);
        QVERIFY(finder.Request(*archive, Request("cloud")));
        QTRY_VERIFY_WITH_TIMEOUT(!finder.Searching(), kTimeout);
        QCOMPARE(recorder.events,
                 QStringList({"started", "progress 0", "ended", "found 0 0 0 6 5"}));

        recorder.events.clear();
        QVERIFY(finder.Request(*archive, Request("\r\nb", lgp::FindMode::Next, {0, 0, 11})));
        QTRY_VERIFY_WITH_TIMEOUT(!finder.Searching(), kTimeout);
        QCOMPARE(recorder.events,
                 QStringList({"started", "progress 0", "ended", "found 0 0 1 1 3"}));

        recorder.events.clear();
        // The file that is no level holds it, and is passed over.
        QVERIFY(finder.Request(*archive, Request("zebra")));
        QTRY_VERIFY_WITH_TIMEOUT(!finder.Searching(), kTimeout);
        QCOMPARE(recorder.events, QStringList({"started", "progress 0", "progress 50",
                                               "progress 100", "ended", "notFound"}));
        QVERIFY(!recorder.offThread);
    }

    void oneThreadServesEverySearchOnTheTextsOfItsRequest() {
        const auto archive = Archive();
        TFindThread finder;
        Recorder recorder(finder);
        QVERIFY(!finder.Searching());
        QVERIFY(finder.Request(*archive, Request("cloud")));
        // The search waits for this thread to take its reports, so it is still running.
        QVERIFY(finder.Searching());
        QVERIFY(!finder.Request(*archive, Request("hello")));
        QTRY_VERIFY_WITH_TIMEOUT(!finder.Searching(), kTimeout);
        QCOMPARE(recorder.events.last(), QStringLiteral("found 0 0 0 6 5"));
        QCOMPARE(recorder.events.count(QStringLiteral("started")), 1);

        QVERIFY(finder.Request(*archive, Request("cloud", lgp::FindMode::Previous, {2, 0, 5})));
        QTRY_VERIFY_WITH_TIMEOUT(!finder.Searching(), kTimeout);
        QCOMPARE(recorder.events.last(), QStringLiteral("found 2 2 0 0 5"));
        // Each request sees the texts as they are then.
        archive->SubFile(2).Texts[0].Bytes = text::EncodeText("Tifa", true);
        QVERIFY(finder.Request(*archive, Request("cloud", lgp::FindMode::Next, {0, 0, 8})));
        QTRY_VERIFY_WITH_TIMEOUT(!finder.Searching(), kTimeout);
        QCOMPARE(recorder.events.last(), QStringLiteral("notFound"));
        // A preparation reports nothing.
        const int reports = recorder.events.size();
        QVERIFY(finder.Prepare(*archive));
        QTRY_VERIFY_WITH_TIMEOUT(!finder.Searching(), kTimeout);
        QCOMPARE(recorder.events.size(), reports);
        QCOMPARE(recorder.searchThreads.size(), 3);
        QCOMPARE(recorder.searchThreads.count(recorder.searchThreads[0]), 3);
        QVERIFY(recorder.searchThreads[0] != QThread::currentThread());
    }

    // After its last report, a search (or a preparation) tells that it accepts a request
    // again.
    void tellsWhenItIsIdleAgain() {
        const auto archive = Archive();
        TFindThread finder;
        Recorder recorder(finder);
        QList<bool> searchingWhenIdle;
        connect(&finder, &TFindThread::idle, this, [&] {
            searchingWhenIdle << finder.Searching();
            recorder.events << QStringLiteral("idle");
        });
        QVERIFY(finder.Request(*archive, Request("cloud")));
        QTRY_COMPARE_WITH_TIMEOUT(searchingWhenIdle.size(), 1, kTimeout);
        QCOMPARE(recorder.events.mid(recorder.events.size() - 2),
                 (QStringList{"found 0 0 0 6 5", "idle"}));
        QVERIFY(finder.Prepare(*archive));
        QTRY_COMPARE_WITH_TIMEOUT(searchingWhenIdle.size(), 2, kTimeout);
        QCOMPARE(searchingWhenIdle, (QList<bool>{false, false}));
    }

    void destroyingItDuringASearchLetsTheSearchEnd() {
        const auto archive = Archive();
        Recorder* recorder = nullptr;
        {
            TFindThread finder;
            recorder = new Recorder(finder);
            QVERIFY(finder.Request(*archive, Request("zebra")));
        }
        QCOMPARE(recorder->events.last(), QStringLiteral("notFound"));
        delete recorder;
    }
};

QTEST_GUILESS_MAIN(FindJobTest)
#include "find_job_test.moc"
