#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDialog>
#include <QListView>
#include <QPushButton>
#include <QTextCursor>
#include <QTreeView>
#include <QtTest>

#include "jobs/qt_strings.h"
#include "lgp/level_tables.h"
#include "sample/sample_archive.h"
#include "tests/ui/answered_main_form.h"
#include "tests/ui/demo_archive.h"
#include "text/text_decoder.h"
#include "ui/file_list_model.h"
#include "ui/file_list_view.h"
#include "ui/overflow_marks.h"
#include "ui/search_controller.h"
#include "ui/status_bar.h"

namespace {

using Command = TMainMenu::Command;
using Bytes = std::vector<std::uint8_t>;

// The selected file, text and tagged selection: where a search left the window.
struct Spot {
    int file = -1;
    int text = -1;
    std::size_t start = 0;
    std::string selected;

    bool operator==(const Spot&) const = default;
};

Spot SpotOf(const TMainForm& form) {
    const TArchiveSession& session = form.session();
    const QTextCursor cursor = Editor(form)->textCursor();
    return {session.currentSubFileIndex(), session.currentText(),
            static_cast<std::size_t>(cursor.selectionStart()),
            jobs::toWindows1252(cursor.selectedText()).text};
}

std::unique_ptr<AnsweredMainForm> ActiveWindow(const QString& path, const QString& settings) {
    auto form = OpenInWindow(path, settings);
    form->activateWindow();
    if (!QTest::qWaitForWindowActive(form.get())) qFatal("the window does not become active");
    return form;
}

const Bytes& TextBytes(const TMainForm& form, int file, int text) {
    return form.session()
        .archive()
        ->SubFiles[static_cast<std::size_t>(file)]
        ->Texts[static_cast<std::size_t>(text)]
        .Bytes;
}

// Types text that need not be Latin-1, one key each, as a keyboard layout would.
void Type(QWidget* widget, const QString& text) {
    for (const QChar character : text) {
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(character),
                            Qt::NoModifier);
    }
}

QString StatusText(const TMainForm& form) {
    return Child<TStatusBar>(form, "statusBar")->statusText();
}

bool WaitForSearch(const TMainForm& form) {
    const auto* controller = form.findChild<TSearchController*>();
    return QTest::qWaitFor([controller] { return !controller->isSearching(); }, kJobTimeout);
}

}  // namespace

class KeyboardTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(demo_.write()); }
    void init() { QVERIFY(demo_.renew()); }

    void theFocusComesBackAfterEveryJob() {
        const auto form = ActiveWindow(demo_.path(), demo_.settings());
        const int file = demo_.levelWith(1);
        form->session().selectSubFile(file);
        Editor(*form)->setFocus();
        Editor(*form)->moveCursor(QTextCursor::End);
        QTest::keyClicks(Editor(*form), QStringLiteral("a"));
        QTest::keyClick(Editor(*form), Qt::Key_S, Qt::ControlModifier);
        QVERIFY(WaitForJob(*form));
        QVERIFY(!form->isWindowModified());
        // Typing goes on where it was.
        QTRY_COMPARE(QApplication::focusWidget(), Editor(*form));
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("b"));
        QVERIFY(form->session().currentTagged().ends_with("ab"));

        // Saving from the file list gives the focus back to it.
        auto* files = Child<QTreeView>(*form, "filesView");
        files->setFocus();
        Action(*form, Command::Save)->trigger();
        QVERIFY(WaitForJob(*form));
        QTRY_COMPARE(QApplication::focusWidget(), files);
    }

    void theFindKeysWorkFromTheFindDialog() {
        const auto form = ActiveWindow(demo_.path(), demo_.settings());
        // Matching case, so that each hit reads as the search.
        const std::string word = "the";
        QVERIFY(DemoArchive::occurrences(*form->session().archive(), word) >= 3);
        QTest::keyClick(Editor(*form), Qt::Key_F, Qt::ControlModifier);
        auto* find = Child<QDialog>(*form, "findForm");
        QVERIFY(find->isVisible());
        find->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(find));
        auto* field = Child<QPlainTextEdit>(*find, "findEdit");
        QTRY_COMPARE(QApplication::focusWidget(), field);
        QTest::keyClicks(field, QString::fromStdString(word));
        Child<QCheckBox>(*find, "matchCaseBox")->setChecked(true);

        // Enter finds the first occurrence, again the next, F3 the one after; Shift+F3 back.
        std::vector<Spot> spots;
        const auto press = [&](Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
            QTest::keyClick(QApplication::focusWidget(), key, modifiers);
            QVERIFY(WaitForSearch(*form));
            spots.push_back(SpotOf(*form));
        };
        press(Qt::Key_Return);
        press(Qt::Key_Return);
        press(Qt::Key_F3);
        press(Qt::Key_F3, Qt::ShiftModifier);
        QVERIFY(form->messages.isEmpty());
        QCOMPARE(field->toPlainText(), QString::fromStdString(word));
        for (const Spot& spot : spots) QCOMPARE(spot.selected, word);
        QVERIFY(spots[0] != spots[1] && spots[1] != spots[2]);
        QCOMPARE(spots[3], spots[1]);
        QCOMPARE(QApplication::activeWindow(), find);

        // Ctrl+R from the find dialog opens the replace dialog with the hit, one line.
        QTest::keyClick(field, Qt::Key_R, Qt::ControlModifier);
        auto* replace = Child<QDialog>(*form, "replaceForm");
        QVERIFY(replace->isVisible());
        QVERIFY(!find->isVisible());
        QCOMPARE(Child<QPlainTextEdit>(*replace, "replaceEdit")->toPlainText(),
                 QString::fromStdString(word));
    }

    void theReplaceDialogOpensWithTheLastSearchUnlessOneLineIsSelected() {
        const auto form = OpenInWindow(demo_.path(), demo_.settings());
        const std::string word = "the";
        Action(*form, Command::Find)->trigger();
        auto* find = Child<QDialog>(*form, "findForm");
        Child<QPlainTextEdit>(*find, "findEdit")->setPlainText(QString::fromStdString(word));
        Child<QPushButton>(*find, "findButton")->click();
        QVERIFY(WaitForSearch(*form));
        // A selection over a line break is no search text: the last search is.
        QTextCursor cursor = Editor(*form)->textCursor();
        cursor.movePosition(QTextCursor::Start);
        cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        Editor(*form)->setTextCursor(cursor);
        Editor(*form)->insertPlainText(QStringLiteral("one\ntwo"));
        Editor(*form)->selectAll();
        Action(*form, Command::Replace)->trigger();
        auto* replace = Child<QDialog>(*form, "replaceForm");
        auto* field = Child<QPlainTextEdit>(*replace, "replaceEdit");
        QCOMPARE(field->toPlainText(), QString::fromStdString(word));
        QCOMPARE(field->textCursor().selectedText(), QString::fromStdString(word));

        // Shown already, it keeps what the user typed.
        field->setPlainText(QStringLiteral("typed"));
        Action(*form, Command::Replace)->trigger();
        QCOMPARE(field->toPlainText(), QStringLiteral("typed"));
    }

    void charactersTheGameLacksAreNeverStored() {
        const auto form = OpenInWindow(demo_.path(), demo_.settings());
        const int file = demo_.levelWith(1);
        form->session().selectSubFile(file);
        const Bytes before = TextBytes(*form, file, 0);
        Editor(*form)->moveCursor(QTextCursor::End);

        // Typed: not put in, and the status bar says which character.
        for (const auto& [typed, notice] :
             {std::pair{QStringLiteral("\u20AC"),
                        QStringLiteral("The game has no character for \u20AC (U+20AC).")},
              std::pair{QStringLiteral("\u03A9"),
                        QStringLiteral("The game has no character for \u03A9 (U+03A9).")}}) {
            Type(Editor(*form), typed);
            QCOMPARE(TextBytes(*form, file, 0), before);
            QCOMPARE(StatusText(*form), notice);
            QVERIFY(!Editor(*form)->toPlainText().contains(typed));
        }
        // The next edit takes the notice away.
        QTest::keyClicks(Editor(*form), QStringLiteral("!"));
        QCOMPARE(StatusText(*form), QString());

        // Pasted: the rest goes in.
        QApplication::clipboard()->setText(QStringLiteral("1\u20AC2\u03A93\u20AC"));
        Editor(*form)->paste();
        QVERIFY(form->session().currentTagged().ends_with("!123"));
        QCOMPARE(StatusText(*form),
                 QStringLiteral("Left out, as the game has no character for it: \u20AC (U+20AC), "
                                "\u03A9 (U+03A9)."));

        // The same in the find and replace fields: "\u03A9" never becomes a "?" to search.
        Action(*form, Command::Replace)->trigger();
        auto* replace = Child<QDialog>(*form, "replaceForm");
        for (const char* name : {"replaceEdit", "withEdit"}) {
            auto* field = Child<QPlainTextEdit>(*replace, name);
            field->clear();
            Type(field, QStringLiteral("a\u03A9"));
            QCOMPARE(field->toPlainText(), QStringLiteral("a"));
            QCOMPARE(StatusText(*form),
                     QStringLiteral("The game has no character for \u03A9 (U+03A9)."));
            QApplication::clipboard()->setText(QStringLiteral("\u03A9?"));
            field->paste();
            QCOMPARE(field->toPlainText(), QStringLiteral("a?"));
        }
    }

    void theListsAreWorkedFromTheKeyboard() {
        const auto form = ActiveWindow(demo_.path(), demo_.settings());
        // Typing a level's name selects it, whatever column is current.
        auto* files = Child<QTreeView>(*form, "filesView");
        files->setFocus();
        files->setCurrentIndex(files->model()->index(0, TFileListModel::kIndexColumn));
        const std::string& name = demo_.sample().levels.back().name;
        QTest::keyClicks(files, QString::fromStdString(name));
        QCOMPARE(QString::fromStdString(form->session().currentSubFile()->Name).toLower(),
                 QString::fromStdString(name));

        // The texts list draws a focus mark on its current text while it has the focus.
        auto* texts = Child<QListView>(*form, "textsView");
        form->session().selectSubFile(demo_.levelWith(1));
        texts->setFocus();
        QTRY_VERIFY(texts->hasFocus());
        const QRect current = texts->visualRect(texts->currentIndex());
        const QImage focused = texts->viewport()->grab(current).toImage();
        Editor(*form)->setFocus();
        QTRY_VERIFY(!texts->hasFocus());
        QVERIFY(texts->viewport()->grab(current).toImage() != focused);
        // The file list too.
        const QRect row = files->visualRect(files->currentIndex());
        const QImage unfocused = files->viewport()->grab(row).toImage();
        files->setFocus();
        QTRY_VERIFY(files->hasFocus());
        QVERIFY(files->viewport()->grab(row).toImage() != unfocused);
    }

    void overflowingTextsAreWalkedInTheListsOrder() {
        const auto form = OpenInWindow(demo_.path(), demo_.settings());
        TArchiveSession& session = form->session();
        const std::vector<int> rows = form->findChild<TFileListView*>()->displayOrder();
        // Every overflowing text, in the order of the rows.
        std::vector<std::pair<int, int>> overflowing;
        for (const int file : rows) {
            const TLGPSubFile& subFile =
                *session.archive()->SubFiles[static_cast<std::size_t>(file)];
            if (!lgp::IsLevel(subFile)) continue;
            for (int text = 0; text < static_cast<int>(subFile.Texts.size()); ++text) {
                if (session.overflowMarks().isOverflowing(file, text)) {
                    overflowing.emplace_back(file, text);
                }
            }
        }
        QVERIFY(overflowing.size() >= 2);
        session.selectSubFile(rows.front());
        session.selectText(-1);
        const auto walk = [&](Command command) {
            std::vector<std::pair<int, int>> visited;
            for (;;) {
                Action(*form, command)->trigger();
                const std::pair place{session.currentSubFileIndex(), session.currentText()};
                if (!visited.empty() && visited.back() == place) return visited;
                visited.push_back(place);
            }
        };
        QCOMPARE(walk(Command::NextOverflowingText), overflowing);
        std::vector<std::pair<int, int>> backwards(overflowing.rbegin() + 1, overflowing.rend());
        QCOMPARE(walk(Command::PreviousOverflowingText), backwards);
        QCOMPARE(Action(*form, Command::NextOverflowingText)->shortcut(), QKeySequence(Qt::Key_F8));
    }

private:
    DemoArchive demo_;
};

QTEST_MAIN(KeyboardTest)
#include "keyboard_test.moc"
