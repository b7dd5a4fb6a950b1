#include "ui/search_controller.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include <QCheckBox>
#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QToolButton>
#include <QTreeView>
#include <QtTest>

#include "jobs/replace_all_job.h"
#include "sample/sample_archive.h"
#include "tests/ui/answered_main_form.h"
#include "tests/ui/sample_facts.h"
#include "text/text_decoder.h"
#include "ui/file_list_model.h"
#include "ui/status_bar.h"
#include "ui/text_editor_pane.h"
#include "ui/texts_list_model.h"

namespace {

using Command = TMainMenu::Command;
using sample_facts::Occurrence;
using sample_facts::Occurrences;
using sample_facts::TextPlace;

// A line of the game's font whose width is known: 'A' is 9 pixels wide, and a line takes 8
// before its glyphs and 3 after them.
QString Letters(int count) { return QString(count, u'A'); }
int LettersWidth(int count) { return 8 + 9 * count + 3; }

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

void SelectText(TMainForm& form, TextPlace place) { SelectText(form, place.subFile, place.text); }

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

// Waits until nothing runs or waits any more.
[[nodiscard]] bool WaitForAll(const TMainForm& form) {
    const auto* controller = form.findChild<TSearchController*>();
    return QTest::qWaitFor(
        [&] {
            return !controller->isSearching() && !form.session().jobRunning() &&
                   !TReplaceAllThread::Running();
        },
        kJobTimeout);
}

std::function<void()> Press(QDialog& dialog, const char* button) {
    return [&dialog, button] { Child<QPushButton>(dialog, button)->click(); };
}

std::function<void()> Trigger(const TMainForm& form, Command command) {
    return [&form, command] { Action(form, command)->trigger(); };
}

// The replace dialog, shown with its search and replacement texts.
QDialog& ShowReplace(const TMainForm& form, const QString& search, const QString& replacement) {
    Action(form, Command::Replace)->trigger();
    auto* replace = Child<QDialog>(form, "replaceForm");
    Child<QPlainTextEdit>(*replace, "replaceEdit")->setPlainText(search);
    Child<QPlainTextEdit>(*replace, "withEdit")->setPlainText(replacement);
    return *replace;
}

QString StatusText(const TMainForm& form) {
    return Child<TStatusBar>(form, "statusBar")->statusText();
}

// The words of the archive's texts, each once, in the order they first appear.
QStringList Words(const sample::SampleArchive& archive) {
    QStringList words;
    for (const sample::SampleLevel& level : archive.levels) {
        for (const std::string& tagged : level.tagged) {
            // Tags are no words.
            QString shown = sample_facts::EditorText(tagged);
            shown.replace(QRegularExpression(QStringLiteral("\\{[^}]*\\}")), QStringLiteral(" "));
            for (const QString& word : shown.split(QRegularExpression(QStringLiteral("[^\\p{L}]+")),
                                                   Qt::SkipEmptyParts)) {
                if (!words.contains(word)) words << word;
            }
        }
    }
    return words;
}

// The first word that `wanted` takes, or an empty string.
QString FirstWord(const sample::SampleArchive& archive,
                  const std::function<bool(const QString&)>& wanted) {
    for (const QString& word : Words(archive)) {
        if (wanted(word)) return word;
    }
    return {};
}

// The word without its accents.
QString Unaccented(const QString& word) {
    QString plain = word.normalized(QString::NormalizationForm_D);
    plain.remove(QRegularExpression(QStringLiteral("\\p{Mn}")));
    return plain;
}

// A word with an accented small letter, found at least four times ignoring case, never in
// capitals, and never without its accents: searched in capitals, the case of both kinds of
// letter is folded; without its accents, it is a replacement of the same length.
QString AccentedWord(const sample::SampleArchive& archive) {
    return FirstWord(archive, [&archive](const QString& word) {
        const QString plain = Unaccented(word);
        return word.size() >= 4 && plain != word &&
               std::ranges::any_of(word, [](QChar c) { return c.unicode() > 0xDF; }) &&
               plain.size() == word.size() && Occurrences(archive, word, false).size() >= 4 &&
               Occurrences(archive, word.toUpper(), true).empty() &&
               Occurrences(archive, plain, false).empty();
    });
}

// The expected place after a search found `at`, as Place gives it.
QString PlaceOf(const sample::SampleArchive& archive, const Occurrence& at, qsizetype length) {
    return QStringLiteral("%1:%2 %3 %4")
        .arg(at.subFile)
        .arg(at.text)
        .arg(at.position)
        .arg(sample_facts::EditorText(archive, {at.subFile, at.text}).mid(at.position, length));
}

}  // namespace

class SearchControllerTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QVERIFY(folder_.isValid());
        demo_ = folder_.filePath(QStringLiteral("demo.lgp"));
        sample_ = sample::WriteSampleArchive(demo_.toStdString(), {.levels = 6});
        accented_ = AccentedWord(sample_);
        QVERIFY2(!accented_.isEmpty(), "no accented word in the demo's texts");
    }

    void init() {
        path_ = folder_.filePath(QStringLiteral("levels.lgp"));
        QFile::remove(path_);
        QVERIFY(QFile::copy(demo_, path_));
        settings_ = std::make_unique<QTemporaryDir>();
    }

    void findsFromTheStartThenNextAndPreviousFromTheSelection() {
        // In capitals: the case of an accented letter is folded too.
        const QString search = accented_.toUpper();
        const std::vector<Occurrence> hits = Occurrences(sample_, search, false);
        const auto form = OpenInWindow(path_, settings_->path());
        QVERIFY(!Action(*form, Command::FindNext)->isEnabled());
        // Find starts at the first file, whatever is selected.
        SelectText(*form, hits.back().subFile, hits.back().text);
        Action(*form, Command::Find)->trigger();
        auto* find = Child<QDialog>(*form, "findForm");
        QVERIFY(find->isVisible());
        Child<QPlainTextEdit>(*find, "findEdit")->setPlainText(search);
        QVERIFY(Action(*form, Command::FindNext)->isEnabled());

        const std::vector<std::pair<std::function<void()>, Occurrence>> steps = {
            {Press(*find, "findButton"), hits[0]},
            {Press(*find, "nextButton"), hits[1]},
            {Trigger(*form, Command::FindNext), hits[2]},
            {Trigger(*form, Command::FindNext), hits[3]},
            {Trigger(*form, Command::FindPrevious), hits[2]},
            {Press(*find, "previousButton"), hits[1]},
        };
        for (const auto& [ask, hit] : steps) {
            QVERIFY(Search(*form, ask));
            QCOMPARE(Place(*form), PlaceOf(sample_, hit, search.size()));
        }
        // The file list and the texts list show the hit; the progress is gone.
        auto* files = Child<QTreeView>(*form, "filesView");
        QCOMPARE(files->currentIndex().siblingAtColumn(1).data().toString(),
                 QString::fromStdString(sample_.files[static_cast<std::size_t>(hits[1].subFile)]));
        QCOMPARE(Child<QAbstractItemView>(*form, "textsView")->currentIndex().row(), hits[1].text);
        QVERIFY(StatusText(*form).isEmpty());
        QVERIFY(!Child<TStatusBar>(*form, "statusBar")->isProgressShown());
        QVERIFY(form->messages.isEmpty());

        // With the case matched nothing is found, and the selection stays.
        Child<QCheckBox>(*find, "matchCaseBox")->setChecked(true);
        QVERIFY(Search(*form, Press(*find, "findButton")));
        QCOMPARE(form->messages, QStringList{QStringLiteral("Text could not be found.")});
        QCOMPARE(form->icons, QList<QMessageBox::Icon>{QMessageBox::Question});
        QCOMPARE(Place(*form), PlaceOf(sample_, hits[1], search.size()));
    }

    void previousFindsOnlyWhatEndsBeforeTheSelection() {
        // A word twice in one text, after an occurrence in an earlier text.
        std::size_t second = 0;
        const QString word = FirstWord(sample_, [&](const QString& candidate) {
            const std::vector<Occurrence> found = Occurrences(sample_, candidate, true);
            for (second = 2; second < found.size(); ++second) {
                const Occurrence& a = found[second - 1];
                const Occurrence& b = found[second];
                if (candidate.size() >= 4 && a.subFile == b.subFile && a.text == b.text &&
                    found[second - 2].text != a.text) {
                    return true;
                }
            }
            return false;
        });
        QVERIFY(!word.isEmpty());
        const std::vector<Occurrence> hits = Occurrences(sample_, word, true);
        const Occurrence& later = hits[second];
        const auto form = OpenInWindow(path_, settings_->path());
        Action(*form, Command::Find)->trigger();
        auto* find = Child<QDialog>(*form, "findForm");
        Child<QPlainTextEdit>(*find, "findEdit")->setPlainText(word);
        Child<QCheckBox>(*find, "matchCaseBox")->setChecked(true);
        SelectText(*form, later.subFile, later.text);
        SelectInEditor(*form, later.position, later.position + static_cast<int>(word.size()));
        QVERIFY(Search(*form, Press(*find, "previousButton")));
        QCOMPARE(Place(*form), PlaceOf(sample_, hits[second - 1], word.size()));
        // A caret inside an occurrence does not find it.
        SelectInEditor(*form, later.position + 2, later.position + 2);
        QVERIFY(Search(*form, Trigger(*form, Command::FindPrevious)));
        QCOMPARE(Place(*form), PlaceOf(sample_, hits[second - 1], word.size()));
        QVERIFY(Search(*form, Trigger(*form, Command::FindPrevious)));
        QCOMPARE(Place(*form), PlaceOf(sample_, hits[second - 2], word.size()));
    }

    void followsTheSortedListAndPassesOverFilesThatAreNoLevels() {
        std::vector<Occurrence> hits = Occurrences(sample_, accented_, true);
        // Descending by "#": the last file first.
        std::ranges::stable_sort(
            hits, [](const Occurrence& a, const Occurrence& b) { return a.subFile > b.subFile; });
        const auto form = OpenInWindow(path_, settings_->path());
        QHeaderView* header = Child<QTreeView>(*form, "filesView")->header();
        emit header->sectionClicked(0);
        emit header->sectionClicked(0);
        Action(*form, Command::Find)->trigger();
        auto* find = Child<QDialog>(*form, "findForm");
        Child<QPlainTextEdit>(*find, "findEdit")->setPlainText(accented_);
        QVERIFY(Search(*form, Press(*find, "findButton")));
        QCOMPARE(Place(*form), PlaceOf(sample_, hits[0], accented_.size()));
        for (std::size_t i = 1; i < hits.size(); ++i) {
            QVERIFY(Search(*form, Trigger(*form, Command::FindNext)));
            QCOMPARE(Place(*form), PlaceOf(sample_, hits[i], accented_.size()));
        }
        // No wrapping around at the end.
        QVERIFY(Search(*form, Trigger(*form, Command::FindNext)));
        QCOMPARE(form->messages, QStringList{QStringLiteral("Text could not be found.")});
        QCOMPARE(Place(*form), PlaceOf(sample_, hits.back(), accented_.size()));
    }

    void replacesOnlyAnOccurrenceAndShowsOneDialogAtATime() {
        const auto form = OpenInWindow(path_, settings_->path());
        Action(*form, Command::Find)->trigger();
        Action(*form, Command::Replace)->trigger();
        auto* replace = Child<QDialog>(*form, "replaceForm");
        QVERIFY(replace->isVisible());
        QVERIFY(!Child<QDialog>(*form, "findForm")->isVisible());

        // A word whose first occurrence stands after as many characters as it has, so that
        // the text's start is a selection of its length that is no occurrence.
        const QString word = FirstWord(sample_, [&](const QString& candidate) {
            const std::vector<Occurrence> found = Occurrences(sample_, candidate, false);
            return candidate.size() >= 4 && !found.empty() && found[0].position >= candidate.size();
        });
        QVERIFY(!word.isEmpty());
        const Occurrence hit = Occurrences(sample_, word, false)[0];
        const std::string before =
            sample_facts::LevelAt(sample_, hit.subFile)->tagged.at(static_cast<std::size_t>(hit.text));
        SelectText(*form, hit.subFile, hit.text);
        SelectInEditor(*form, 0, 0);
        Child<QPlainTextEdit>(*replace, "replaceEdit")->setPlainText(word.toUpper());
        Child<QPlainTextEdit>(*replace, "withEdit")->setPlainText(QStringLiteral("rope"));
        // Nothing at the caret is replaced: the next occurrence is found, the case folded.
        QVERIFY(Search(*form, Press(*replace, "replaceButton")));
        QCOMPARE(Place(*form), PlaceOf(sample_, hit, word.size()));
        QCOMPARE(form->session().currentTagged(), before);
        // A selection that is no occurrence is not replaced either.
        SelectInEditor(*form, 0, static_cast<int>(word.size()));
        QVERIFY(Search(*form, Press(*replace, "replaceButton")));
        QCOMPARE(Place(*form), PlaceOf(sample_, hit, word.size()));
        QCOMPARE(form->session().currentTagged(), before);
        // The occurrence is, and the search goes on after it.
        QVERIFY(Search(*form, Press(*replace, "replaceButton")));
        QString after = sample_facts::EditorText(before);
        after.replace(hit.position, word.size(), QStringLiteral("rope"));
        const TLGPSubFile& level = form->session().archive()->SubFile(hit.subFile);
        QCOMPARE(sample_facts::EditorText(
                     text::DecodeText(level.Texts.at(static_cast<std::size_t>(hit.text)).Bytes)),
                 after);

        // Another archive closes the dialog.
        form->OpenArchive(path_);
        QVERIFY(WaitForJob(*form));
        QVERIFY(!replace->isVisible());
    }

    void replaceAllCountsTextsWithTheEditorReadOnlyMeanwhile() {
        // The accented word loses its accents: the game has those words without them too, and
        // the texts with the word, each counted once, change.
        const QString plain = Unaccented(accented_);
        const int holding = sample_facts::TextsHolding(sample_, accented_);
        QVERIFY(holding >= 2);
        const Occurrence first = Occurrences(sample_, accented_, true).front();
        // A word found once, in another text, for the count of one.
        const QString once = FirstWord(sample_, [&](const QString& word) {
            const std::vector<Occurrence> found = Occurrences(sample_, word, true);
            return word.size() >= 5 && found.size() == 1 &&
                   (found[0].subFile != first.subFile || found[0].text != first.text) &&
                   Occurrences(sample_, word, false).size() == 1;
        });
        QVERIFY(!once.isEmpty());
        const Occurrence onceAt = Occurrences(sample_, once, true).front();

        // The text shown holds the word where its preview shows it, nearest its start.
        const std::vector<Occurrence> all = Occurrences(sample_, accented_, true);
        const Occurrence shownAt = *std::ranges::min_element(
            all, [](const Occurrence& a, const Occurrence& b) { return a.position < b.position; });

        const auto form = OpenInWindow(path_, settings_->path());
        SelectText(*form, shownAt.subFile, shownAt.text);
        const QString shownBefore = Editor(*form)->toPlainText();
        auto* picture = Child<QLabel>(*form, "textPreviewPicture");
        const QImage before = picture->pixmap().toImage();
        auto* windowButton = Child<QToolButton>(*form, "windowButton");
        QList<bool> readOnly;
        QStringList statusWhileReplacing;
        bool windowButtonUsable = false;
        connect(&form->session(), &TArchiveSession::textEdited, form.get(), [&] {
            readOnly << Editor(*form)->isReadOnly();
            windowButtonUsable |= windowButton->isEnabled();
            statusWhileReplacing << StatusText(*form);
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
            // The test before replacing folds A to Z only: the accented capital stays.
            {accented_.toUpper(),
             plain,
             {QStringLiteral("No text has been modified.")},
             QMessageBox::Information},
            {accented_,
             plain,
             {QStringLiteral("%1 texts have been modified.").arg(holding)},
             QMessageBox::Information},
            {once,
             once + QStringLiteral("s"),
             {QStringLiteral("1 text has been modified.")},
             QMessageBox::Information},
            // The game has no euro sign: all or nothing.
            {plain,
             QStringLiteral("€"),
             {QStringLiteral("The replacement was refused, and no text has been modified."),
              QStringLiteral("level %1, text %2: the replaced text would not read the same once "
                             "stored (a character the game lacks, or a line break or "
                             "placeholder cut apart)")
                  .arg(QString::fromStdString(
                      sample_.files[static_cast<std::size_t>(first.subFile)]))
                  .arg(first.text + 1)},
             QMessageBox::Warning},
        };
        for (const Case& run : cases) {
            form->messages.clear();
            form->icons.clear();
            Child<QPlainTextEdit>(*replace, "replaceEdit")->setPlainText(run.search);
            Child<QPlainTextEdit>(*replace, "withEdit")->setPlainText(run.replacement);
            Child<QPushButton>(*replace, "replaceAllButton")->click();
            QTRY_VERIFY_WITH_TIMEOUT(!form->messages.isEmpty(), kJobTimeout);
            QVERIFY(WaitForAll(*form));
            QCOMPARE(form->messages, run.messages);
            QCOMPARE(form->icons, QList<QMessageBox::Icon>{run.icon});
        }

        // Each text changed while the editor was read-only; it is writable again.
        QCOMPARE(readOnly, QList<bool>(holding + 1, true));
        QVERIFY(!windowButtonUsable);
        QCOMPARE(statusWhileReplacing.last(), QStringLiteral("Text replacing..."));
        QVERIFY(!Editor(*form)->isReadOnly());
        QVERIFY(windowButton->isEnabled());
        QVERIFY(StatusText(*form).isEmpty());
        // The text shown was changed: the editor and the preview show it.
        QCOMPARE(Editor(*form)->toPlainText(), QString(shownBefore).replace(accented_, plain));
        QVERIFY(picture->pixmap().toImage() != before);
        QVERIFY(form->isWindowModified());
        const TLGPSubFile& onceLevel =
            *form->session().archive()->SubFiles[static_cast<std::size_t>(onceAt.subFile)];
        QCOMPARE(sample_facts::EditorText(text::DecodeText(
                     onceLevel.Texts[static_cast<std::size_t>(onceAt.text)].Bytes)),
                 sample_facts::EditorText(sample_, {onceAt.subFile, onceAt.text})
                     .replace(accented_, plain)
                     .replace(once, once + QStringLiteral("s")));
    }

    void replaceAllUpdatesTheOverflowMarks() {
        // A level whose windows all fit, and a text of it shown in two windows.
        const TextPlace place =
            sample_facts::FindText(sample_, [](const sample::SampleLevel& level, int text) {
                return level.overflowing.empty() &&
                       level.textWindows[static_cast<std::size_t>(text)] == 2;
            });
        QVERIFY(place.subFile >= 0);
        QVERIFY(Occurrences(sample_, QStringLiteral("zq"), false).empty());
        const auto form = OpenInWindow(path_, settings_->path());
        SelectText(*form, place);
        const QAbstractItemModel* files = Child<QTreeView>(*form, "filesView")->model();
        const QAbstractItemModel* texts = Child<QListView>(*form, "textsView")->model();
        const QModelIndex count = files->index(place.subFile, TFileListModel::kOverflowsColumn);
        const QModelIndex marked = texts->index(place.text, 0);
        QCOMPARE(count.data().toString(), QStringLiteral("0"));
        // Its text becomes a word found nowhere else, which the replacement makes wider than
        // both windows.
        Action(*form, Command::SelectAll)->trigger();
        QTest::keyClicks(Editor(*form), QStringLiteral("Zq"));
        QVERIFY(!marked.data(TTextsListModel::kOverflowRole).toBool());
        const TLevelText& shown =
            form->session().currentLevel()->Texts[static_cast<std::size_t>(place.text)];
        // Each window once, in the order of the text's list.
        std::vector<const TWindow*> windows;
        for (const TWindow* window : shown.Windows) {
            if (std::ranges::find(windows, window) == windows.end()) windows.push_back(window);
        }
        int letters = 0;
        for (const TWindow* window : windows) {
            letters = std::max(letters, (window->Width - LettersWidth(0)) / 9 + 1);
        }
        QStringList hints;
        for (const TWindow* window : windows) {
            hints << QStringLiteral("line 1 is %1 px in a window of %2")
                         .arg(LettersWidth(letters))
                         .arg(window->Width);
        }

        Child<QPushButton>(ShowReplace(*form, QStringLiteral("zq"), Letters(letters)),
                           "replaceAllButton")
            ->click();
        QTRY_VERIFY_WITH_TIMEOUT(!form->messages.isEmpty(), kJobTimeout);
        QVERIFY(WaitForAll(*form));
        QCOMPARE(form->messages, QStringList{QStringLiteral("1 text has been modified.")});
        QCOMPARE(count.data().toString(), QStringLiteral("1"));
        QVERIFY(marked.data(TTextsListModel::kOverflowRole).toBool());
        QCOMPARE(marked.data(Qt::ToolTipRole).toString(), hints.join(u'\n'));
    }

    void readOnlyEditorCommandsWait() {
        const TextPlace place =
            sample_facts::FindText(sample_, [](const sample::SampleLevel&, int) { return true; });
        const QString text = sample_facts::EditorText(sample_, place);
        const auto form = OpenInWindow(path_, settings_->path());
        SelectText(*form, place);
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
        QCOMPARE(jobs::fromWindows1252(form->session().currentTagged()),
                 QString(text + QStringLiteral("!")).replace(u'\n', QStringLiteral("\r\n")));
        pane->setReadOnly(false);
        Action(*form, Command::Undo)->trigger();
        QCOMPARE(jobs::fromWindows1252(form->session().currentTagged()),
                 QString(text).replace(u'\n', QStringLiteral("\r\n")));
    }

    // A search asked for while replace-all runs waits, and the status bar says so; it starts
    // once the replacement has ended, and finds what the replacement wrote.
    void aSearchWaitsForReplaceAll() {
        const QString plain = Unaccented(accented_);
        const Occurrence first = Occurrences(sample_, accented_, true).front();
        const auto form = OpenInWindow(path_, settings_->path());
        Child<QPushButton>(ShowReplace(*form, accented_, plain), "replaceAllButton")->click();
        QVERIFY(form->session().jobRunning());

        Action(*form, Command::Find)->trigger();
        auto* find = Child<QDialog>(*form, "findForm");
        Child<QPlainTextEdit>(*find, "findEdit")->setPlainText(plain);
        Child<QPushButton>(*find, "findButton")->click();
        QCOMPARE(StatusText(*form), QStringLiteral("Text replacing... (search waiting)"));
        QVERIFY(WaitForAll(*form));
        QCOMPARE(form->messages,
                 QStringList{QStringLiteral("%1 texts have been modified.")
                                 .arg(sample_facts::TextsHolding(sample_, accented_))});
        QCOMPARE(Place(*form), QStringLiteral("%1:%2 %3 %4")
                                   .arg(first.subFile)
                                   .arg(first.text)
                                   .arg(first.position)
                                   .arg(plain));
        QVERIFY(StatusText(*form).isEmpty());
    }

    // Replace-all asked for while a search runs waits for it; searches asked for meanwhile
    // wait in turn, in the order asked.
    void replaceAllWaitsForASearch() {
        const QString plain = Unaccented(accented_);
        const std::vector<Occurrence> hits = Occurrences(sample_, accented_, true);
        const auto form = OpenInWindow(path_, settings_->path());
        QDialog& replace = ShowReplace(*form, accented_, plain);
        Child<QPushButton>(replace, "findButton")->click();
        Child<QPushButton>(replace, "replaceAllButton")->click();
        QVERIFY(!form->session().jobRunning());
        QCOMPARE(StatusText(*form), QStringLiteral("replace all waiting"));
        // Found before the replacement: the first occurrence is selected when texts change.
        QList<bool> replacing;
        connect(&form->session(), &TArchiveSession::textEdited, form.get(), [&] {
            replacing << (form->session().currentSubFileIndex() == hits[0].subFile &&
                          form->session().currentText() == hits[0].text);
        });
        QVERIFY(WaitForAll(*form));
        QVERIFY(!replacing.isEmpty() && !replacing.contains(false));
        QCOMPARE(form->messages,
                 QStringList{QStringLiteral("%1 texts have been modified.")
                                 .arg(sample_facts::TextsHolding(sample_, accented_))});
        QVERIFY(StatusText(*form).isEmpty());

        // Two searches asked for at once run one after the other: the second goes on from the
        // first one's hit.
        form->messages.clear();
        Action(*form, Command::Find)->trigger();
        auto* find = Child<QDialog>(*form, "findForm");
        Child<QPlainTextEdit>(*find, "findEdit")->setPlainText(plain);
        Child<QPushButton>(*find, "findButton")->click();
        Child<QPushButton>(*find, "nextButton")->click();
        QCOMPARE(StatusText(*form), QStringLiteral("search waiting"));
        QVERIFY(WaitForAll(*form));
        QCOMPARE(Place(*form), QStringLiteral("%1:%2 %3 %4")
                                   .arg(hits[1].subFile)
                                   .arg(hits[1].text)
                                   .arg(hits[1].position)
                                   .arg(plain));
        QVERIFY(form->messages.isEmpty());
    }

private:
    QTemporaryDir folder_;
    std::unique_ptr<QTemporaryDir> settings_;
    sample::SampleArchive sample_;
    QString accented_;
    QString demo_;
    QString path_;
};

QTEST_MAIN(SearchControllerTest)
#include "search_controller_test.moc"
