#include "ui/archive_session.h"

#include <memory>
#include <string>

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "jobs/qt_strings.h"
#include "lgp/lgp_file.h"
#include "lgp/window.h"
#include "sample/sample_archive.h"
#include "ui/overflow_marks.h"

namespace {

constexpr int kJobTimeout = 60000;

// The first level of the open archive with a text shown in a window, as {file, text}.
std::pair<int, int> FirstWindowedText(const TArchiveSession& session) {
    const TLGPFile& archive = *session.archive();
    for (std::size_t file = 0; file < archive.SubFiles.size(); ++file) {
        const auto& texts = archive.SubFiles[file]->Texts;
        for (std::size_t text = 0; text < texts.size(); ++text) {
            if (!texts[text].Windows.empty()) return {static_cast<int>(file), static_cast<int>(text)};
        }
    }
    return {-1, -1};
}

}  // namespace

class ArchiveSessionTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(folder_.isValid());
        path_ = folder_.filePath(QStringLiteral("levels.lgp"));
        sample::WriteSampleArchive(jobs::toUtf8(path_), {.levels = 40});
    }

    // Whoever is told of an edit finds the marks up to date, whenever it connected.
    void marksAreUpToDateWhenAnEditIsTold() {
        TArchiveSession session;
        QSignalSpy opened(&session, &TArchiveSession::opened);
        session.open(path_);
        QVERIFY(opened.wait(kJobTimeout));
        const auto [file, text] = FirstWindowedText(session);
        QVERIFY(file >= 0);
        session.selectSubFile(file);
        session.selectText(text);

        bool markWhenTold = false;
        connect(&session, &TArchiveSession::textEdited, this, [&](int subFile, int edited) {
            markWhenTold = session.overflowMarks().isOverflowing(subFile, edited);
        });
        session.storeCurrentText(std::string(200, 'W'));
        QVERIFY(markWhenTold);
        session.storeCurrentText("W");
        QVERIFY(!markWhenTold);

        int countWhenTold = -1;
        connect(&session, &TArchiveSession::windowEdited, this, [&](int subFile) {
            countWhenTold = session.overflowMarks().overflowingTexts(subFile);
        });
        const TWindow& window = *session.currentWindow();
        session.placeCurrentWindow(QRect(window.X, window.Y, 8, 8));
        QVERIFY(countWhenTold >= 1);
    }

    // A session destroyed while its job runs waits for it: the job never works on a freed
    // archive (the sanitizer build sees it if it does).
    void destroyedWhileOpeningWaitsForTheJob() {
        auto session = std::make_unique<TArchiveSession>();
        session->open(path_);
        QVERIFY(session->jobRunning());
        session.reset();
        QCoreApplication::processEvents();
    }

    void destroyedWhileReplacingAllWaitsForTheJob() {
        auto session = std::make_unique<TArchiveSession>();
        QSignalSpy opened(session.get(), &TArchiveSession::opened);
        session->open(path_);
        QVERIFY(opened.wait(kJobTimeout));
        QVERIFY(session->replaceAll("e", "E", true, [](int, int, int) { return true; }));
        session.reset();
        QCoreApplication::processEvents();
    }

private:
    QTemporaryDir folder_;
    QString path_;
};

QTEST_MAIN(ArchiveSessionTest)
#include "archive_session_test.moc"
