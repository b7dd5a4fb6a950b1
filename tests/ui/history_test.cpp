#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QTextCursor>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include "jobs/qt_strings.h"
#include "jobs/replace_all_job.h"
#include "lgp/level_tables.h"
#include "lgp/window.h"
#include "sample/sample_archive.h"
#include "tests/ui/answered_main_form.h"
#include "tests/ui/demo_archive.h"
#include "text/text_decoder.h"
#include "ui/overflow_marks.h"

namespace {

using Command = TMainMenu::Command;
using Bytes = std::vector<std::uint8_t>;
// Per table index, the bytes of each text (none for files that are not levels).
using ArchiveTexts = std::vector<std::vector<Bytes>>;

ArchiveTexts TextsOf(const TMainForm& form) {
    ArchiveTexts texts;
    for (const auto& subFile : form.session().archive()->SubFiles) {
        std::vector<Bytes>& level = texts.emplace_back();
        if (!lgp::IsLevel(*subFile)) continue;
        for (const TLevelText& text : subFile->Texts) level.push_back(text.Bytes);
    }
    return texts;
}

// Per table index, which texts overflow their windows.
std::vector<std::vector<bool>> MarksOf(const TMainForm& form) {
    std::vector<std::vector<bool>> marks;
    const ArchiveTexts texts = TextsOf(form);
    for (std::size_t file = 0; file < texts.size(); ++file) {
        std::vector<bool>& level = marks.emplace_back();
        for (std::size_t text = 0; text < texts[file].size(); ++text) {
            level.push_back(form.session().overflowMarks().isOverflowing(static_cast<int>(file),
                                                                         static_cast<int>(text)));
        }
    }
    return marks;
}

const Bytes& TextBytes(const TMainForm& form, int file, int text) {
    return form.session()
        .archive()
        ->SubFiles[static_cast<std::size_t>(file)]
        ->Texts[static_cast<std::size_t>(text)]
        .Bytes;
}

QRect Place(const TWindow& window) { return {window.X, window.Y, window.Width, window.Height}; }

// The first text of `file` that has a window.
int WindowedText(const TMainForm& form, int file) {
    const auto& texts = form.session().archive()->SubFiles[static_cast<std::size_t>(file)]->Texts;
    for (std::size_t text = 0; text < texts.size(); ++text) {
        if (!texts[text].Windows.empty()) return static_cast<int>(text);
    }
    qFatal("no windowed text");
}

void TypeAtEnd(const TMainForm& form, const QString& typed) {
    Editor(form)->moveCursor(QTextCursor::End);
    QTest::keyClicks(Editor(form), typed);
}

}  // namespace

class HistoryTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(demo_.write()); }
    void init() { QVERIFY(demo_.renew()); }

    void aRunOfTypingIsOneStepUndoneByTheKeys() {
        const auto form = OpenInWindow(demo_.path(), demo_.settings());
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        const int file = demo_.levelWith(2, true);
        form->session().selectSubFile(file);
        const Bytes before = TextBytes(*form, file, 0);
        QVERIFY(!Action(*form, Command::Undo)->isEnabled());

        TypeAtEnd(*form, QStringLiteral(" and more"));
        const Bytes typed = TextBytes(*form, file, 0);
        QVERIFY(typed != before);
        QVERIFY(Action(*form, Command::Undo)->isEnabled());
        QVERIFY(form->isWindowModified());
        QTest::keyClick(Editor(*form), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(TextBytes(*form, file, 0), before);
        QVERIFY(!form->isWindowModified());
        QVERIFY(!Action(*form, Command::Undo)->isEnabled());
        // The editor shows the text again, its caret where the typing began.
        QCOMPARE(form->session().currentTagged(), text::DecodeText(before));
        QCOMPARE(Editor(*form)->textCursor().position(),
                 Editor(*form)->document()->characterCount() - 1);

        QTest::keyClick(Editor(*form), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(TextBytes(*form, file, 0), typed);
        QTest::keyClick(Editor(*form), Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(Editor(*form), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(TextBytes(*form, file, 0), typed);

        // Deleting is a step of its own; a pasted word too.
        QTest::keyClick(Editor(*form), Qt::Key_Backspace);
        QTest::keyClick(Editor(*form), Qt::Key_Backspace);
        QApplication::clipboard()->setText(QStringLiteral("word"));
        Editor(*form)->paste();
        Action(*form, Command::Undo)->trigger();
        Action(*form, Command::Undo)->trigger();
        QCOMPARE(TextBytes(*form, file, 0), typed);
        Action(*form, Command::Undo)->trigger();
        QCOMPARE(TextBytes(*form, file, 0), before);
    }

    void eachTextKeepsItsStepsAcrossOtherTexts() {
        const auto form = OpenInWindow(demo_.path(), demo_.settings());
        const int file = demo_.levelWith(2, true);
        TArchiveSession& session = form->session();
        session.selectSubFile(file);
        const Bytes first = TextBytes(*form, file, 0);
        const Bytes second = TextBytes(*form, file, 1);
        TypeAtEnd(*form, QStringLiteral("!"));

        // Away to another text and back: the step is still there.
        session.selectText(1);
        session.selectText(0);
        Action(*form, Command::Undo)->trigger();
        QCOMPARE(TextBytes(*form, file, 0), first);

        // Undone from another text and another file, the step selects its own text.
        Action(*form, Command::Redo)->trigger();
        session.selectText(1);
        TypeAtEnd(*form, QStringLiteral("?"));
        session.selectSubFile(0);
        Action(*form, Command::Undo)->trigger();
        QCOMPARE(session.currentSubFileIndex(), file);
        QCOMPARE(session.currentText(), 1);
        QCOMPARE(TextBytes(*form, file, 1), second);
        Action(*form, Command::Undo)->trigger();
        QCOMPARE(session.currentText(), 0);
        QCOMPARE(TextBytes(*form, file, 0), first);
        QCOMPARE(Editor(*form)->toPlainText(),
                 QString::fromStdString(text::DecodeText(first)).replace("\r\n", "\n"));
    }

    void replaceAllAsksThenIsOneStepBackToEveryByte() {
        const auto form = OpenInWindow(demo_.path(), demo_.settings());
        const ArchiveTexts before = TextsOf(*form);
        const auto marksBefore = MarksOf(*form);
        const std::string search = "the";
        int occurrences = 0;
        int texts = 0;
        int levels = 0;
        for (const std::vector<Bytes>& level : before) {
            int inLevel = 0;
            for (const Bytes& text : level) {
                const int count = DemoArchive::occurrences(text::DecodeText(text), search);
                occurrences += count;
                inLevel += count > 0 ? 1 : 0;
            }
            texts += inLevel;
            levels += inLevel > 0 ? 1 : 0;
        }
        QVERIFY(levels >= 2);
        const QString question = QStringLiteral("Replace %1 occurrences in %2 texts of %3 levels?")
                                     .arg(QLocale().toString(occurrences))
                                     .arg(texts)
                                     .arg(levels);

        Action(*form, Command::Replace)->trigger();
        auto* replace = Child<QDialog>(*form, "replaceForm");
        Child<QPlainTextEdit>(*replace, "replaceEdit")
            ->setPlainText(QString::fromStdString(search));
        Child<QPlainTextEdit>(*replace, "withEdit")->setPlainText(QStringLiteral("THE"));
        Child<QCheckBox>(*replace, "matchCaseBox")->setChecked(true);
        const auto replaceAll = [&] {
            form->questions.clear();
            form->messages.clear();
            Child<QPushButton>(*replace, "replaceAllButton")->click();
            return QTest::qWaitFor([] { return !TReplaceAllThread::Running(); }, kJobTimeout);
        };

        // Declined: nothing changes, and nothing is to undo.
        form->answer = QMessageBox::No;
        QVERIFY(replaceAll());
        QCOMPARE(form->questions, QStringList{question});
        QVERIFY(form->messages.isEmpty());
        QCOMPARE(TextsOf(*form), before);
        QVERIFY(!Action(*form, Command::Undo)->isEnabled());

        form->answer = QMessageBox::Yes;
        QVERIFY(replaceAll());
        QCOMPARE(form->questions, QStringList{question});
        QCOMPARE(form->messages,
                 QStringList{QStringLiteral("%1 texts have been modified.").arg(texts)});
        const ArchiveTexts after = TextsOf(*form);
        QVERIFY(after != before);
        const auto marksAfter = MarksOf(*form);
        QVERIFY(form->isWindowModified());

        const int selected = form->session().currentSubFileIndex();
        Action(*form, Command::Undo)->trigger();
        QCOMPARE(TextsOf(*form), before);
        QCOMPARE(MarksOf(*form), marksBefore);
        QVERIFY(!form->isWindowModified());
        QCOMPARE(form->session().currentSubFileIndex(), selected);
        Action(*form, Command::Redo)->trigger();
        QCOMPARE(TextsOf(*form), after);
        QCOMPARE(MarksOf(*form), marksAfter);
    }

    void windowChangesAreStepsToo() {
        const auto form = OpenInWindow(demo_.path(), demo_.settings());
        TArchiveSession& session = form->session();
        const int file = demo_.levelWith(1, true);
        session.selectSubFile(file);
        session.selectText(WindowedText(*form, file));
        const TWindow& window = *session.currentWindow();
        const QRect original = Place(window);

        // OK in the window modification dialog.
        QTimer::singleShot(0, form.get(), [&form] {
            auto* dialog = form->findChild<QDialog*>(QStringLiteral("windowModificationForm"));
            Child<QSpinBox>(*dialog, "widthField")->setValue(40);
            Child<QPushButton>(*dialog, "okButton")->click();
        });
        Child<QToolButton>(*form, "windowButton")->click();
        const QRect narrow(original.x(), original.y(), 40, original.height());
        QCOMPARE(Place(window), narrow);
        QVERIFY(form->isWindowModified());

        // Fit to text from the Edit menu widens it again.
        QVERIFY(Action(*form, Command::FitWindowToText)->isEnabled());
        Action(*form, Command::FitWindowToText)->trigger();
        const QRect fitted = Place(window);
        QVERIFY(fitted.width() > 40);

        session.selectSubFile(0);
        Action(*form, Command::Undo)->trigger();
        QCOMPARE(Place(window), narrow);
        QVERIFY(session.currentWindow() == &window);
        Action(*form, Command::Undo)->trigger();
        QCOMPARE(Place(window), original);
        QVERIFY(!form->isWindowModified());
        Action(*form, Command::Redo)->trigger();
        Action(*form, Command::Redo)->trigger();
        QCOMPARE(Place(window), fitted);
    }

private:
    DemoArchive demo_;
};

QTEST_MAIN(HistoryTest)
#include "history_test.moc"
