#include "ui/search_controller.h"

#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include <QCheckBox>
#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QTextCursor>
#include <QToolButton>
#include <QTreeView>
#include <QtTest>

#include "jobs/replace_all_job.h"
#include "tests/ui/answered_main_form.h"
#include "tests/ui/demo_archive.h"
#include "text/text_decoder.h"
#include "ui/file_list_model.h"
#include "ui/status_bar.h"
#include "ui/text_editor_pane.h"
#include "ui/texts_list_model.h"

namespace {

using Command = TMainMenu::Command;

// Table indices of the six-level demo archive's levels with texts.
constexpr int kAnfrst1 = 4;
constexpr int kAnfrst4 = 7;

// Where the window stands: "file:text start selected", the selected file and text by index,
// the editor's selection by its start and its text.
QString Place(const TMainForm& form) {
    const QTextCursor cursor = Editor(form)->textCursor();
    return QStringLiteral("%1:%2 %3 %4")
        .arg(form.session().currentSubFileIndex())
        .arg(form.session().currentText())
        .arg(cursor.selectionStart())
        .arg(cursor.selectedText());
}

void SelectText(TMainForm& form, int subFile, int text) {
    form.session().selectSubFile(subFile);
    form.session().selectText(text);
}

void SelectInEditor(const TMainForm& form, int start, int end) {
    QTextCursor cursor = Editor(form)->textCursor();
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    Editor(form)->setTextCursor(cursor);
}

// Asks for a search and waits until its reports have been handled.
[[nodiscard]] bool Search(const TMainForm& form, const std::function<void()>& ask) {
    ask();
    const auto* controller = form.findChild<TSearchController*>();
    return QTest::qWaitFor([controller] { return !controller->isSearching(); }, kJobTimeout);
}

std::function<void()> Press(QDialog& dialog, const char* button) {
    return [&dialog, button] { Child<QPushButton>(dialog, button)->click(); };
}

std::function<void()> Trigger(const TMainForm& form, Command command) {
    return [&form, command] { Action(form, command)->trigger(); };
}

}  // namespace

class SearchControllerTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(demo_.write()); }
    void init() { QVERIFY(demo_.renew()); }

    void findsFromTheStartThenNextAndPreviousFromTheSelection() {
        const auto form = OpenInWindow(demo_.path(), demo_.settings());
        QVERIFY(!Action(*form, Command::FindNext)->isEnabled());
        SelectText(*form, kAnfrst4, 10);
        Action(*form, Command::Find)->trigger();
        auto* find = Child<QDialog>(*form, "findForm");
        QVERIFY(find->isVisible());
        // The case of an accented letter is folded too.
        Child<QPlainTextEdit>(*find, "findEdit")->setPlainText(QStringLiteral("LUMIÈRE"));
        QVERIFY(Action(*form, Command::FindNext)->isEnabled());

        const std::vector<std::pair<std::function<void()>, QString>> steps = {
            {Press(*find, "findButton"), QStringLiteral("4:2 207 Lumière")},
            {Press(*find, "nextButton"), QStringLiteral("4:4 28 Lumière")},
            {Trigger(*form, Command::FindNext), QStringLiteral("7:2 109 Lumière")},
            {Trigger(*form, Command::FindNext), QStringLiteral("7:11 196 Lumière")},
            {Trigger(*form, Command::FindPrevious), QStringLiteral("7:2 109 Lumière")},
            {Press(*find, "previousButton"), QStringLiteral("4:4 28 Lumière")},
        };
        for (const auto& [ask, place] : steps) {
            QVERIFY(Search(*form, ask));
            QCOMPARE(Place(*form), place);
        }
        // The file list and the texts list show the hit; the progress is gone.
        auto* files = Child<QTreeView>(*form, "filesView");
        QCOMPARE(files->currentIndex().siblingAtColumn(1).data().toString(),
                 QStringLiteral("anfrst_1"));
        QCOMPARE(Child<QAbstractItemView>(*form, "textsView")->currentIndex().row(), 4);
        QVERIFY(Child<TStatusBar>(*form, "statusBar")->statusText().isEmpty());
        QVERIFY(!Child<TStatusBar>(*form, "statusBar")->isProgressShown());
        QVERIFY(form->messages.isEmpty());

        // With the case matched nothing is found, and the selection stays.
        Child<QCheckBox>(*find, "matchCaseBox")->setChecked(true);
        QVERIFY(Search(*form, Press(*find, "findButton")));
        QCOMPARE(form->messages, QStringList{QStringLiteral("Text could not be found.")});
        QCOMPARE(form->icons, QList<QMessageBox::Icon>{QMessageBox::Question});
        QCOMPARE(Place(*form), QStringLiteral("4:4 28 Lumière"));
    }

    void previousFindsOnlyWhatEndsBeforeTheSelection() {
        const auto form = OpenInWindow(demo_.path(), demo_.settings());
        Action(*form, Command::Find)->trigger();
        auto* find = Child<QDialog>(*form, "findForm");
        Child<QPlainTextEdit>(*find, "findEdit")->setPlainText(QStringLiteral("Careful"));
        Child<QCheckBox>(*find, "matchCaseBox")->setChecked(true);
        // Text 49 of anfrst_4 holds "Careful" at 8 and at 57.
        SelectText(*form, kAnfrst4, 48);
        SelectInEditor(*form, 57, 64);
        QVERIFY(Search(*form, Press(*find, "previousButton")));
        QCOMPARE(Place(*form), QStringLiteral("7:48 8 Careful"));
        // A caret inside an occurrence does not find it.
        SelectInEditor(*form, 60, 60);
        QVERIFY(Search(*form, Trigger(*form, Command::FindPrevious)));
        QCOMPARE(Place(*form), QStringLiteral("7:48 8 Careful"));
        QVERIFY(Search(*form, Trigger(*form, Command::FindPrevious)));
        QCOMPARE(Place(*form), QStringLiteral("7:36 24 Careful"));
    }

    void followsTheSortedListAndPassesOverFilesThatAreNoLevels() {
        const auto form = OpenInWindow(demo_.path(), demo_.settings());
        // Descending by "#": fifteen files that are no levels, then anfrst_4 before anfrst_1.
        QHeaderView* header = Child<QTreeView>(*form, "filesView")->header();
        emit header->sectionClicked(0);
        emit header->sectionClicked(0);
        Action(*form, Command::Find)->trigger();
        auto* find = Child<QDialog>(*form, "findForm");
        Child<QPlainTextEdit>(*find, "findEdit")->setPlainText(QStringLiteral("Lumière"));
        QVERIFY(Search(*form, Press(*find, "findButton")));
        QCOMPARE(Place(*form), QStringLiteral("7:2 109 Lumière"));
        for (const QString& place :
             {QStringLiteral("7:11 196 Lumière"), QStringLiteral("7:17 32 Lumière"),
              QStringLiteral("7:23 202 Lumière"), QStringLiteral("4:2 207 Lumière"),
              QStringLiteral("4:4 28 Lumière")}) {
            QVERIFY(Search(*form, Trigger(*form, Command::FindNext)));
            QCOMPARE(Place(*form), place);
        }
        // No wrapping around at the end.
        QVERIFY(Search(*form, Trigger(*form, Command::FindNext)));
        QCOMPARE(form->messages, QStringList{QStringLiteral("Text could not be found.")});
        QCOMPARE(Place(*form), QStringLiteral("4:4 28 Lumière"));
    }

    void replacesOnlyAnOccurrenceAndShowsOneDialogAtATime() {
        const auto form = OpenInWindow(demo_.path(), demo_.settings());
        Action(*form, Command::Find)->trigger();
        Action(*form, Command::Replace)->trigger();
        auto* replace = Child<QDialog>(*form, "replaceForm");
        QVERIFY(replace->isVisible());
        QVERIFY(!Child<QDialog>(*form, "findForm")->isVisible());

        SelectText(*form, kAnfrst1, 5);
        SelectInEditor(*form, 6, 6);
        Child<QPlainTextEdit>(*replace, "replaceEdit")->setPlainText(QStringLiteral("LADDER"));
        Child<QPlainTextEdit>(*replace, "withEdit")->setPlainText(QStringLiteral("rope"));
        // Nothing at the caret is replaced: the next occurrence is found, the case folded.
        QVERIFY(Search(*form, Press(*replace, "replaceButton")));
        QCOMPARE(Place(*form), QStringLiteral("4:5 23 ladder"));
        QCOMPARE(form->session().currentTagged(), std::string("Press %23 to climb the ladder."));
        // A selection that is no occurrence is not replaced either.
        SelectInEditor(*form, 0, 5);
        QVERIFY(Search(*form, Press(*replace, "replaceButton")));
        QCOMPARE(Place(*form), QStringLiteral("4:5 23 ladder"));
        QCOMPARE(form->session().currentTagged(), std::string("Press %23 to climb the ladder."));
        // The occurrence is, and the search goes on after it.
        QVERIFY(Search(*form, Press(*replace, "replaceButton")));
        QCOMPARE(text::DecodeText(form->session().archive()->SubFiles[kAnfrst1]->Texts[5].Bytes),
                 std::string("Press %23 to climb the rope."));

        // Another archive closes the dialog.
        form->OpenArchive(demo_.path());
        QVERIFY(WaitForJob(*form));
        QVERIFY(!replace->isVisible());
    }

    void replaceAllCountsTextsWithTheEditorReadOnlyMeanwhile() {
        const auto form = OpenInWindow(demo_.path(), demo_.settings());
        SelectText(*form, kAnfrst1, 4);
        auto* picture = Child<QLabel>(*form, "textPreviewPicture");
        const QImage before = picture->pixmap().toImage();
        auto* windowButton = Child<QToolButton>(*form, "windowButton");
        QList<bool> readOnly;
        QStringList statusWhileReplacing;
        bool windowButtonUsable = false;
        connect(&form->session(), &TArchiveSession::textEdited, form.get(), [&] {
            readOnly << Editor(*form)->isReadOnly();
            windowButtonUsable |= windowButton->isEnabled();
            statusWhileReplacing << Child<TStatusBar>(*form, "statusBar")->statusText();
        });
        Action(*form, Command::Replace)->trigger();
        auto* replace = Child<QDialog>(*form, "replaceForm");

        struct Case {
            QString search;
            QString replacement;
            QStringList messages;
            QMessageBox::Icon icon;
        };
        const QList<Case> cases = {
            // The test before replacing folds A to Z only: È is no è.
            {QStringLiteral("LUMIÈRE"),
             QStringLiteral("Lumiere"),
             {QStringLiteral("No text has been modified.")},
             QMessageBox::Information},
            {QStringLiteral("Lumière"),
             QStringLiteral("Lumiere"),
             {QStringLiteral("6 texts have been modified.")},
             QMessageBox::Information},
            {QStringLiteral("climb the ladder"),
             QStringLiteral("take the ladder"),
             {QStringLiteral("1 text has been modified.")},
             QMessageBox::Information},
            // The game has no euro sign: all or nothing.
            {QStringLiteral("Lumiere"),
             QStringLiteral("€"),
             {QStringLiteral("The replacement was refused, and no text has been modified."),
              QStringLiteral(
                  "level anfrst_1, text 3: the replaced text would not read the same once stored "
                  "(a "
                  "character the game lacks, or a line break or placeholder cut apart)")},
             QMessageBox::Warning},
        };
        for (const Case& run : cases) {
            form->messages.clear();
            form->icons.clear();
            Child<QPlainTextEdit>(*replace, "replaceEdit")->setPlainText(run.search);
            Child<QPlainTextEdit>(*replace, "withEdit")->setPlainText(run.replacement);
            Child<QPushButton>(*replace, "replaceAllButton")->click();
            QTRY_VERIFY_WITH_TIMEOUT(!form->messages.isEmpty(), kJobTimeout);
            QTRY_VERIFY_WITH_TIMEOUT(!TReplaceAllThread::Running(), kJobTimeout);
            QCOMPARE(form->messages, run.messages);
            QCOMPARE(form->icons, QList<QMessageBox::Icon>{run.icon});
        }

        // Seven texts changed, each while the editor was read-only; it is writable again.
        QCOMPARE(readOnly, QList<bool>(7, true));
        QVERIFY(!windowButtonUsable);
        QCOMPARE(statusWhileReplacing.last(), QStringLiteral("Text replacing..."));
        QVERIFY(!Editor(*form)->isReadOnly());
        QVERIFY(windowButton->isEnabled());
        QVERIFY(Child<TStatusBar>(*form, "statusBar")->statusText().isEmpty());
        // The text shown was changed: the editor and the preview show it.
        QVERIFY(Editor(*form)->toPlainText().contains(QStringLiteral("boots at Café Lumiere are")));
        QVERIFY(picture->pixmap().toImage() != before);
        QVERIFY(form->isWindowModified());
        QCOMPARE(text::DecodeText(form->session().archive()->SubFiles[kAnfrst1]->Texts[5].Bytes),
                 std::string("Press %23 to take the ladder."));
    }

    void replaceAllUpdatesTheOverflowMarks() {
        const auto form = OpenInWindow(demo_.path(), demo_.settings());
        SelectText(*form, kAnfrst1, 0);
        const QAbstractItemModel* files = Child<QTreeView>(*form, "filesView")->model();
        const QAbstractItemModel* texts = Child<QListView>(*form, "textsView")->model();
        const QModelIndex count = files->index(kAnfrst1, TFileListModel::kOverflowsColumn);
        // Texts 2 and 4 of the level hold "stairs"; text 2 shows in windows 237 and 189 pixels
        // wide.
        const QModelIndex text2 = texts->index(1, 0);
        QCOMPARE(count.data().toString(), QStringLiteral("0"));
        QVERIFY(!text2.data(TTextsListModel::kOverflowRole).toBool());

        Action(*form, Command::Replace)->trigger();
        auto* replace = Child<QDialog>(*form, "replaceForm");
        Child<QPlainTextEdit>(*replace, "replaceEdit")->setPlainText(QStringLiteral("stairs"));
        Child<QPlainTextEdit>(*replace, "withEdit")
            ->setPlainText(QStringLiteral("old stone stairs"));
        Child<QPushButton>(*replace, "replaceAllButton")->click();
        QTRY_VERIFY_WITH_TIMEOUT(!form->messages.isEmpty(), kJobTimeout);
        QTRY_VERIFY_WITH_TIMEOUT(!TReplaceAllThread::Running(), kJobTimeout);
        QCOMPARE(form->messages, QStringList{QStringLiteral("6 texts have been modified.")});
        QCOMPARE(count.data().toString(), QStringLiteral("2"));
        QVERIFY(text2.data(TTextsListModel::kOverflowRole).toBool());
        QCOMPARE(text2.data(Qt::ToolTipRole).toString(),
                 QStringLiteral(
                     "line 2 is 245 px in a window of 237\nline 2 is 245 px in a window of 189"));
    }

    void readOnlyEditorCommandsWait() {
        const auto form = OpenInWindow(demo_.path(), demo_.settings());
        SelectText(*form, kAnfrst1, 5);
        Editor(*form)->moveCursor(QTextCursor::End);
        QTest::keyClicks(Editor(*form), QStringLiteral("!"));
        TTextEditorPane* pane = form->findChild<TTextEditorPane*>();
        Action(*form, Command::SelectAll)->trigger();
        Action(*form, Command::Copy)->trigger();
        Editor(*form)->moveCursor(QTextCursor::End);
        pane->setReadOnly(true);
        Action(*form, Command::Undo)->trigger();
        pane->insertText(QStringLiteral("?"));
        Action(*form, Command::Paste)->trigger();
        QCOMPARE(form->session().currentTagged(), std::string("Press %23 to climb the ladder.!"));
        pane->setReadOnly(false);
        Action(*form, Command::Undo)->trigger();
        QCOMPARE(form->session().currentTagged(), std::string("Press %23 to climb the ladder."));
    }

private:
    DemoArchive demo_;
};

QTEST_MAIN(SearchControllerTest)
#include "search_controller_test.moc"
