#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QListView>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSpinBox>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QUrl>
#include <QtTest>

#include "lgp/archive_loader.h"
#include "lgp/window.h"
#include "preview/glyph_sets.h"
#include "preview/window_preview.h"
#include "sample/sample_archive.h"
#include "tests/ui/context_menu.h"
#include "ui/archive_session.h"
#include "ui/file_list_model.h"
#include "ui/main_form.h"
#include "ui/main_menu.h"
#include "ui/overflow_marks.h"
#include "ui/status_bar.h"
#include "ui/text_editor_pane.h"
#include "ui/texts_list_model.h"

namespace {

using Command = TMainMenu::Command;

// Generous for the sanitizer build.
constexpr int kTimeout = 60000;
const QString kTitle = QStringLiteral("Orvenne 0.1.0");
// What the six-level demo archive holds: its levels by table index, and the texts of
// anfrst_1 (table index 4): text 2 is shown by two windows, text 6 by none.
constexpr int kFiles = 24;
constexpr int kAncnt4 = 3;
constexpr int kAnfrst1 = 4;
constexpr int kMaplist = 13;
constexpr int kAnfrst4 = 7;
const QString kText6 = QStringLiteral("Press %23 to climb the ladder.");

// The main window with its dialogs answered by the test: errors and questions are recorded,
// the questions answered from `answers` (Cancel when none is left), file dialogs give the
// names set beforehand.
class TestedMainForm : public TMainForm {
public:
    using TMainForm::TMainForm;

    QStringList errors;
    QStringList details;
    QStringList questions;
    QList<QMessageBox::StandardButton> answers;
    QString openChoice;
    QString saveAsChoice;
    bool saveAsFirstFilter = true;
    QString saveAsFolder;
    QString saveAsFilter;

protected:
    void showErrorMessage(const QString& text, const QString& detail) override {
        // Shown while the job waits, before the window is enabled again.
        QVERIFY(!isEnabled());
        errors << text;
        details << detail;
    }
    QMessageBox::StandardButton askSaveChanges(const QString& question) override {
        questions << question;
        return answers.isEmpty() ? QMessageBox::Cancel : answers.takeFirst();
    }
    QString chooseArchiveToOpen(const QString&, const QString&) override { return openChoice; }
    QString chooseArchiveToSaveAs(const QString& folder, const QString& filter,
                                  bool& firstFilterSelected) override {
        saveAsFolder = folder;
        saveAsFilter = filter;
        firstFilterSelected = saveAsFirstFilter;
        return saveAsChoice;
    }
};

// Waits for the job to end and for the marks of an archive it opened.
bool WaitForJob(const TMainForm& form) {
    return QTest::qWaitFor(
        [&] { return !form.session().jobRunning() && form.session().overflowMarks().ready(); },
        kTimeout);
}

template <class T>
T* Child(const QWidget& form, const char* name) {
    T* child = form.findChild<T*>(QString::fromLatin1(name));
    if (child == nullptr) qFatal("no child %s", name);
    return child;
}

QAction* action(const QWidget& form, Command command) {
    return form.findChild<TMainMenu*>()->action(command);
}

QTreeView* FilesView(const QWidget& form) { return Child<QTreeView>(form, "filesView"); }
QListView* TextsView(const QWidget& form) { return Child<QListView>(form, "textsView"); }
QPlainTextEdit* Editor(const QWidget& form) { return Child<QPlainTextEdit>(form, "textEditor"); }
TStatusBar* Status(const QWidget& form) { return Child<TStatusBar>(form, "statusBar"); }
QSpinBox* WindowSelector(const QWidget& form) { return Child<QSpinBox>(form, "windowSelector"); }

QStringList Row(const QWidget& form, int row) {
    const QAbstractItemModel* model = FilesView(form)->model();
    QStringList cells;
    for (int column = 0; column < model->columnCount(); ++column) {
        cells << model->index(row, column).data().toString();
    }
    return cells;
}

QStringList Column(const QWidget& form, int column) {
    const QAbstractItemModel* model = FilesView(form)->model();
    QStringList values;
    for (int row = 0; row < model->rowCount(); ++row) values << model->index(row, column).data().toString();
    return values;
}

QString FileCaption(const QWidget& form) {
    return FilesView(form)->model()->headerData(1, Qt::Horizontal).toString();
}

// Clicks the row whose File column reads name, as the user would.
void ClickFile(const QWidget& form, const QString& name) {
    QTreeView* view = FilesView(form);
    const QAbstractItemModel* model = view->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        if (model->index(row, 1).data().toString() == name) {
            view->scrollTo(model->index(row, 1));
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(model->index(row, 1)).center());
            return;
        }
    }
    qFatal("no row %s", qPrintable(name));
}

void ClickText(const QWidget& form, int row) {
    QListView* view = TextsView(form);
    const QModelIndex index = view->model()->index(row, 0);
    view->scrollTo(index);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
}

void ClickHeader(const QWidget& form, int column) {
    QHeaderView* header = FilesView(form)->header();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
}

// Drops files on `target`: the window itself or one of its controls.
void DropUrls(QWidget& target, const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    const QPoint centre = target.rect().center();
    QDragEnterEvent enter(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &enter);
    QDropEvent drop(QPointF(centre), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &drop);
}

QLabel* Picture(const QWidget& form) { return Child<QLabel>(form, "textPreviewPicture"); }
QString PageCaption(const QWidget& form) { return Child<QLabel>(form, "pageLabel")->text(); }
QString OverflowCount(const QWidget& form, int tableIndex) {
    return FilesView(form)
        ->model()
        ->index(tableIndex, TFileListModel::kOverflowsColumn)
        .data()
        .toString();
}
bool Marked(const QWidget& form, int row) {
    return TextsView(form)->model()->index(row, 0).data(TTextsListModel::kOverflowRole).toBool();
}
QString Hint(const QWidget& form, int row) {
    return TextsView(form)->model()->index(row, 0).data(Qt::ToolTipRole).toString();
}

// Moves the editor's caret to a character position, as a click would.
void PlaceCaret(const QWidget& form, int position) {
    QTextCursor cursor = Editor(form)->textCursor();
    cursor.setPosition(position);
    Editor(form)->setTextCursor(cursor);
}

// The spell-checking underlines of the editor's first line, as "start+length".
QStringList Underlined(const QWidget& form) {
    QStringList ranges;
    for (const QTextLayout::FormatRange& range :
         Editor(form)->document()->firstBlock().layout()->formats()) {
        if (range.format.underlineStyle() == QTextCharFormat::SpellCheckUnderline) {
            ranges << QStringLiteral("%1+%2").arg(range.start).arg(range.length);
        }
    }
    return ranges;
}

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::vector<std::uint8_t> Appended(std::vector<std::uint8_t> bytes, std::initializer_list<std::uint8_t> codes) {
    bytes.pop_back();
    bytes.insert(bytes.end(), codes);
    bytes.push_back(0xFF);
    return bytes;
}

}  // namespace

class MainFormTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QVERIFY(folder_.isValid());
        sample::WriteSampleArchive(folder_.filePath(QStringLiteral("demo.lgp")).toStdString(), {.levels = 6});
    }

    void init() {
        // Every test edits and saves copies of its own, with settings of its own.
        path_ = folder_.filePath(QStringLiteral("levels.lgp"));
        other_ = folder_.filePath(QStringLiteral("other.lgp"));
        for (const QString& copy : {path_, other_}) {
            QFile::remove(copy);
            QVERIFY(QFile::copy(folder_.filePath(QStringLiteral("demo.lgp")), copy));
        }
        settings_ = std::make_unique<QTemporaryDir>();
    }

    void startsWithTheArchiveOnTheCommandLine() {
        const auto form = open(path_);
        QCOMPARE(form->windowTitle(), kTitle + QStringLiteral(" - ") + path_ + QStringLiteral("[*]"));
        QVERIFY(!form->isWindowModified());
        QCOMPARE(FileCaption(*form), QStringLiteral("File (24)"));
        QCOMPARE(FilesView(*form)->model()->rowCount(), kFiles);
        QCOMPARE(Status(*form)->countsText(), QStringLiteral("6 levels / 65 texts"));
        QCOMPARE(Status(*form)->creatorText(), QStringLiteral("SQUARESOFT"));
        QVERIFY(Status(*form)->statusText().isEmpty());
        QVERIFY(!Status(*form)->isProgressShown());
        QVERIFY(form->isEnabled());
        QVERIFY(action(*form, Command::Save)->isEnabled());
        QVERIFY(action(*form, Command::SaveAs)->isEnabled());
        QVERIFY(action(*form, Command::Find)->isEnabled());
        QVERIFY(!action(*form, Command::FindNext)->isEnabled());

        QCOMPARE(Row(*form, 0), (QStringList{"1", "ANCNT4", "-", "-", "-"}));
        QCOMPARE(Row(*form, 2), (QStringList{"3", "ancnt3", "Forgotten City - altar", "1", "0"}));
        QCOMPARE(Row(*form, 4),
                 (QStringList{"5", "anfrst_1", "Ancient Forest - part 2", "9", "0"}));
        QCOMPARE(Row(*form, 7), (QStringList{"8", "anfrst_4", "Ancient Forest", "55", "3"}));
        QCOMPARE(Row(*form, 23), (QStringList{"24", "water2.tex", "-", "-", "-"}));
        const QModelIndex description = FilesView(*form)->model()->index(4, 2);
        QCOMPARE(description.data(Qt::ForegroundRole).value<QColor>(), QColor(62, 88, 133));
        QCOMPARE(description.siblingAtColumn(1).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::black));
        // Row 0 is selected: a file that is not a level.
        QCOMPARE(form->session().currentSubFileIndex(), 0);
        QCOMPARE(FilesView(*form)->currentIndex().row(), 0);
        QVERIFY(!Editor(*form)->isEnabled());
    }

    void ignoresACommandLineThatNamesNoFile() {
        TestedMainForm form({folder_.filePath(QStringLiteral("missing.lgp"))}, Paths());
        form.show();
        QVERIFY(!form.session().jobRunning());
        QVERIFY(form.session().archive() == nullptr);
        QCOMPARE(form.windowTitle(), kTitle);
        QVERIFY(action(form, Command::Open)->isEnabled());
        QVERIFY(!action(form, Command::Save)->isEnabled());
        QVERIFY(!action(form, Command::Find)->isEnabled());
        QVERIFY(!Child<QWidget>(form, "specialCharactersBar")->isEnabled());
        QCOMPARE(FileCaption(form), QStringLiteral("File"));
    }

    void editsAreStoredAtEveryKeystrokeAndMarked() {
        const auto form = open(path_);
        ClickFile(*form, QStringLiteral("anfrst_1"));
        TLGPSubFile* level = form->session().currentLevel();
        QCOMPARE(TextsView(*form)->model()->rowCount(), 9);
        QCOMPARE(TextsView(*form)->model()->index(0, 0).data().toString(), QStringLiteral("Text 1"));
        QCOMPARE(TextsView(*form)->currentIndex().row(), 0);
        QCOMPARE(Editor(*form)->toPlainText(), QStringLiteral("Ancient Forest"));

        ClickText(*form, 5);
        QCOMPARE(Editor(*form)->toPlainText(), kText6);
        const std::vector<std::uint8_t> original = level->Texts[5].Bytes;
        Editor(*form)->moveCursor(QTextCursor::End);
        QTest::keyClicks(Editor(*form), QStringLiteral("Hi!"));
        // H, i and ! are the game's codes 0x28, 0x49 and 0x01; a new line is 0xE7.
        QCOMPARE(level->Texts[5].Bytes, Appended(original, {0x28, 0x49, 0x01}));
        QTest::keyClick(Editor(*form), Qt::Key_Return);
        QCOMPARE(level->Texts[5].Bytes, Appended(original, {0x28, 0x49, 0x01, 0xE7}));
        QTest::keyClick(Editor(*form), Qt::Key_Backspace);
        QCOMPARE(level->Texts[5].Bytes, Appended(original, {0x28, 0x49, 0x01}));
        QCOMPARE(level->SavedTexts[5], original);

        // The change shows: the caption's mark, the level's row and the text's row.
        QVERIFY(form->isWindowModified());
        QVERIFY(form->session().hasUnsavedChanges());
        const QAbstractItemModel* files = FilesView(*form)->model();
        QVERIFY(files->index(4, 1).data(Qt::FontRole).value<QFont>().bold());
        QVERIFY(!files->index(2, 1).data(Qt::FontRole).value<QFont>().bold());
        const QAbstractItemModel* texts = TextsView(*form)->model();
        QVERIFY(texts->index(5, 0).data(TTextsListModel::kChangedRole).toBool());
        QVERIFY(!texts->index(4, 0).data(TTextsListModel::kChangedRole).toBool());

        // Typed back to what is saved, nothing is marked any more.
        for (int i = 0; i < 3; ++i) QTest::keyClick(Editor(*form), Qt::Key_Backspace);
        QCOMPARE(level->Texts[5].Bytes, original);
        QVERIFY(!form->isWindowModified());
        QVERIFY(!texts->index(5, 0).data(TTextsListModel::kChangedRole).toBool());

        // Ctrl+A selects the whole text; going back to a text shows it as stored.
        QTest::keyClick(Editor(*form), Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(Editor(*form)->textCursor().selectedText(), kText6);
        ClickText(*form, 0);
        ClickText(*form, 5);
        QCOMPARE(Editor(*form)->toPlainText(), kText6);
    }

    void editCommandsAndTabLeaveTheGameTextClean() {
        const auto form = open(path_);
        ClickFile(*form, QStringLiteral("anfrst_1"));
        ClickText(*form, 5);
        Editor(*form)->setFocus();
        Editor(*form)->moveCursor(QTextCursor::End);
        QTest::keyClicks(Editor(*form), QStringLiteral("!"));
        QVERIFY(action(*form, Command::Undo)->isEnabled());
        action(*form, Command::Undo)->trigger();
        QCOMPARE(Editor(*form)->toPlainText(), kText6);
        action(*form, Command::Redo)->trigger();
        QCOMPARE(Editor(*form)->toPlainText(), kText6 + QStringLiteral("!"));
        action(*form, Command::SelectAll)->trigger();
        action(*form, Command::Copy)->trigger();
        Editor(*form)->moveCursor(QTextCursor::End);
        action(*form, Command::Paste)->trigger();
        QCOMPARE(Editor(*form)->toPlainText(), kText6 + QStringLiteral("!") + kText6 + QStringLiteral("!"));

        // Tab moves on instead of typing a tab into the text.
        QTest::keyClick(Editor(*form), Qt::Key_Tab);
        QVERIFY(!Editor(*form)->toPlainText().contains(u'\t'));
        QVERIFY(!Editor(*form)->hasFocus());
    }

    void menusHaveMnemonicsWithoutClashes() {
        const auto form = open(path_);
        QStringList titles;
        for (const QAction* menu : form->menuBar()->actions()) titles << menu->text();
        QCOMPARE(titles, (QStringList{"&File", "&Edit", "&View", "?"}));
        QCOMPARE(action(*form, Command::Open)->text(), QStringLiteral("&Open..."));
        QCOMPARE(action(*form, Command::SaveAs)->text(), QStringLiteral("Save &as..."));
        QCOMPARE(action(*form, Command::Copy)->text(), QStringLiteral("C&opy"));
        QCOMPARE(action(*form, Command::Open)->toolTip(), QStringLiteral("Open..."));
        QCOMPARE(action(*form, Command::Undo)->shortcut(), QKeySequence(QKeySequence::Undo));
    }

    void aLevelWithoutTextsAndATextWithoutWindows() {
        const auto form = open(path_);
        ClickFile(*form, QStringLiteral("ancnt4"));
        QCOMPARE(form->session().currentSubFileIndex(), kAncnt4);
        QCOMPARE(TextsView(*form)->model()->rowCount(), 0);
        QVERIFY(!TextsView(*form)->isEnabled());
        QVERIFY(!Editor(*form)->isEnabled());
        QVERIFY(Editor(*form)->toPlainText().isEmpty());
        ExpectNoWindow(*form);

        ClickFile(*form, QStringLiteral("maplist"));
        QCOMPARE(form->session().currentSubFileIndex(), kMaplist);
        QVERIFY(!Editor(*form)->isEnabled());
        ExpectNoWindow(*form);

        ClickFile(*form, QStringLiteral("anfrst_1"));
        ExpectNoWindow(*form);
        ClickText(*form, 1);
        QVERIFY(WindowSelector(*form)->isEnabled());
        QCOMPARE(WindowSelector(*form)->minimum(), 1);
        QCOMPARE(WindowSelector(*form)->maximum(), 2);
        QCOMPARE(WindowSelector(*form)->value(), 1);
        QVERIFY(Child<QToolButton>(*form, "windowButton")->isEnabled());
    }

    void sortsByEachColumnKeepingTheSelection() {
        const auto form = open(path_);
        ClickFile(*form, QStringLiteral("anfrst_1"));

        ClickHeader(*form, 0);
        QCOMPARE(Column(*form, 0).first(), QStringLiteral("1"));
        ClickHeader(*form, 0);
        QCOMPARE(Column(*form, 0).mid(0, 3), (QStringList{"24", "23", "22"}));
        QCOMPARE(FilesView(*form)->header()->sortIndicatorOrder(), Qt::DescendingOrder);
        QVERIFY(FilesView(*form)->header()->isSortIndicatorShown());

        // Texts: "-" before 0, then by number, equal values in the order shown before.
        ClickHeader(*form, 3);
        QCOMPARE(Column(*form, 0), (QStringList{"24", "23", "22", "21", "20", "19", "18", "17",
                                                "16", "15", "14", "13", "12", "11", "10", "9",
                                                "2",  "1",  "7",  "6",  "4",  "3",  "5",  "8"}));
        ClickHeader(*form, 1);
        QCOMPARE(Column(*form, 1).mid(0, 8), (QStringList{"ancnt3", "ANCNT4", "ancnt4", "ANFRST_1", "anfrst_1",
                                                          "anfrst_2", "anfrst_3", "anfrst_4"}));
        ClickHeader(*form, 2);
        QCOMPARE(Column(*form, 2).mid(17, 7),
                 (QStringList{"-", "Ancient Forest", "Ancient Forest", "Ancient Forest",
                              "Ancient Forest - part 2", "Forgotten City - altar",
                              "Forgotten City - water altar"}));
        ClickHeader(*form, 2);
        QCOMPARE(Column(*form, 2).first(), QStringLiteral("Forgotten City - water altar"));

        // The selected level stays selected and in view.
        QCOMPARE(form->session().currentSubFileIndex(), kAnfrst1);
        const QModelIndex current = FilesView(*form)->currentIndex();
        QCOMPARE(current.siblingAtColumn(1).data().toString(), QStringLiteral("anfrst_1"));
        QVERIFY(FilesView(*form)->viewport()->rect().intersects(FilesView(*form)->visualRect(current)));
    }

    void onlyLevelsKeepsTheSelectedLevel() {
        const auto form = open(path_);
        ClickFile(*form, QStringLiteral("anfrst_1"));
        action(*form, Command::OnlyLevels)->trigger();
        QCOMPARE(Column(*form, 0), (QStringList{"3", "4", "5", "6", "7", "8"}));
        QCOMPARE(FileCaption(*form), QStringLiteral("File (6)"));
        QCOMPARE(form->session().currentSubFileIndex(), kAnfrst1);
        QCOMPARE(FilesView(*form)->currentIndex().row(), 2);

        action(*form, Command::AllFiles)->trigger();
        QCOMPARE(FilesView(*form)->model()->rowCount(), kFiles);
        QCOMPARE(FileCaption(*form), QStringLiteral("File (24)"));
        QCOMPARE(form->session().currentSubFileIndex(), kAnfrst1);

        // A file that is no level leaves the list: the first row is selected.
        ClickFile(*form, QStringLiteral("maplist"));
        action(*form, Command::OnlyLevels)->trigger();
        QCOMPARE(FilesView(*form)->currentIndex().row(), 0);
        QCOMPARE(form->session().currentSubFileIndex(), 2);
    }

    void theChoiceOfOnlyLevelsHoldsForTheNextArchive() {
        TestedMainForm form(QStringList{}, Paths());
        form.show();
        action(form, Command::OnlyLevels)->trigger();
        form.openChoice = path_;
        action(form, Command::Open)->trigger();
        QVERIFY(WaitForJob(form));
        QCOMPARE(FilesView(form)->model()->rowCount(), 6);
    }

    void tagButtonsInsertTheirCaption() {
        const auto form = open(path_);
        QToolButton* cloud = nullptr;
        QToolButton* red = nullptr;
        QToolButton* placeholder = nullptr;
        for (QToolButton* button : form->findChildren<QToolButton*>()) {
            if (button->text() == QStringLiteral("{CLOUD}")) cloud = button;
            if (button->text() == QStringLiteral("{RED}")) red = button;
            if (button->text() == QStringLiteral("%1")) placeholder = button;
        }
        QVERIFY(cloud != nullptr && red != nullptr && placeholder != nullptr);
        QCOMPARE(cloud->toolTip(), QStringLiteral("Cloud"));
        QCOMPARE(red->toolTip(), QStringLiteral("Red"));
        QCOMPARE(placeholder->toolTip(), QStringLiteral("Special character %1"));

        // Without a selected text the buttons do nothing.
        ClickFile(*form, QStringLiteral("maplist"));
        cloud->click();
        QVERIFY(Editor(*form)->toPlainText().isEmpty());

        ClickFile(*form, QStringLiteral("ancnt3"));
        TLGPSubFile* level = form->session().currentLevel();
        const std::vector<std::uint8_t> original = level->Texts[0].Bytes;
        Editor(*form)->moveCursor(QTextCursor::Start);
        red->click();
        QCOMPARE(Editor(*form)->toPlainText(), QStringLiteral("{RED}Forgotten City"));
        std::vector<std::uint8_t> expected = original;
        expected.insert(expected.begin(), {0xFE, 0xD4});
        QCOMPARE(level->Texts[0].Bytes, expected);

        // A selection is replaced; the drop-down's tags insert theirs.
        QTextCursor cursor = Editor(*form)->textCursor();
        cursor.setPosition(0);
        cursor.setPosition(5, QTextCursor::KeepAnchor);
        Editor(*form)->setTextCursor(cursor);
        cloud->click();
        QAction* pause = Child<QMenu>(*form, "otherTagsMenu")->actions().at(1);
        QCOMPARE(pause->text(), QStringLiteral("{PAUSE 1}"));
        pause->trigger();
        QCOMPARE(Editor(*form)->toPlainText(), QStringLiteral("{CLOUD}{PAUSE 1}Forgotten City"));
        expected.erase(expected.begin(), expected.begin() + 2);
        expected.insert(expected.begin(), {0xEA, 0xFE, 0xDD, 0x0A, 0x00});
        QCOMPARE(level->Texts[0].Bytes, expected);
    }

    void saveWritesTheEditAndClearsTheMark() {
        const auto form = open(path_);
        ClickFile(*form, QStringLiteral("ancnt3"));
        Editor(*form)->moveCursor(QTextCursor::End);
        QTest::keyClicks(Editor(*form), QStringLiteral(" Saved."));
        QVERIFY(form->isWindowModified());

        // While the job reports, the window is disabled and says what it does.
        QStringList statusWhileSaving;
        bool enabledWhileSaving = false;
        connect(&form->session(), &TArchiveSession::jobProgress, form.get(), [&] {
            statusWhileSaving << Status(*form)->statusText();
            enabledWhileSaving |= form->isEnabled();
        });
        action(*form, Command::Save)->trigger();
        QVERIFY(WaitForJob(*form));
        QVERIFY(form->errors.isEmpty());
        QCOMPARE(statusWhileSaving.last(), QStringLiteral("File saving..."));
        QVERIFY(!enabledWhileSaving);
        QVERIFY(form->isEnabled());
        QVERIFY(Status(*form)->statusText().isEmpty());
        QVERIFY(!form->isWindowModified());
        QVERIFY(!FilesView(*form)->model()->index(2, 1).data(Qt::FontRole).value<QFont>().bold());

        // Opening the file again (no question: nothing is pending) shows the edit.
        form->OpenArchive(path_);
        QVERIFY(WaitForJob(*form));
        QVERIFY(form->questions.isEmpty());
        ClickFile(*form, QStringLiteral("ancnt3"));
        QCOMPARE(Editor(*form)->toPlainText(), QStringLiteral("Forgotten City Saved."));
    }

    void saveAsSwitchesToTheWrittenFile() {
        const auto form = open(path_);
        ClickFile(*form, QStringLiteral("ancnt3"));
        QTest::keyClicks(Editor(*form), QStringLiteral("New "));
        const QByteArray before = FileBytes(path_);

        struct Case {
            QString chosen;
            bool firstFilter;
            QString written;
        };
        const QList<Case> cases = {
            {QStringLiteral("copy"), true, QStringLiteral("copy.lgp")},
            {QStringLiteral("copy.LGP"), true, QStringLiteral("copy.LGP")},
            {QStringLiteral("copy.bin"), false, QStringLiteral("copy.bin")},
            {QStringLiteral("copy.txt"), true, QStringLiteral("copy.txt.lgp")},
        };
        for (const Case& saveAs : cases) {
            const QString written = folder_.filePath(saveAs.written);
            QFile::remove(written);
            form->saveAsChoice = folder_.filePath(saveAs.chosen);
            form->saveAsFirstFilter = saveAs.firstFilter;
            action(*form, Command::SaveAs)->trigger();
            QVERIFY(WaitForJob(*form));
            QCOMPARE(form->saveAsFilter, QStringLiteral("LGP files (*.lgp);;All files (*)"));
            // The written file is now the open one.
            QCOMPARE(form->session().fileName(), written);
            QCOMPARE(form->windowTitle(), kTitle + QStringLiteral(" - ") + written + QStringLiteral("[*]"));
            QVERIFY(!form->isWindowModified());
        }
        QCOMPARE(form->saveAsFolder, folder_.path());

        // Save writes the new file; the first archive is left as it was.
        QTest::keyClicks(Editor(*form), QStringLiteral("Next "));
        action(*form, Command::Save)->trigger();
        QVERIFY(WaitForJob(*form));
        QCOMPARE(FileBytes(path_), before);
        TLGPFile copy;
        LoadArchive(copy, folder_.filePath(QStringLiteral("copy.txt.lgp")).toStdString());
        QCOMPARE(copy.SubFiles[2]->Texts[0].Bytes, form->session().currentLevel()->Texts[0].Bytes);

        // A cancelled dialog saves nothing.
        form->saveAsChoice.clear();
        action(*form, Command::SaveAs)->trigger();
        QVERIFY(!form->session().jobRunning());
    }

    void aFailedOpenKeepsTheOpenArchive() {
        const QString invalid = folder_.filePath(QStringLiteral("invalid.lgp"));
        QFile file(invalid);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not an archive");
        file.close();

        const auto form = open(path_);
        ClickFile(*form, QStringLiteral("anfrst_1"));
        form->OpenArchive(invalid);
        QVERIFY(WaitForJob(*form));
        QCOMPARE(form->errors, QStringList{QStringLiteral("Invalid file.")});
        QVERIFY(form->details.first().startsWith(invalid + QStringLiteral(": ")));
        QCOMPARE(form->session().fileName(), path_);
        QCOMPARE(form->session().currentSubFileIndex(), kAnfrst1);
        QCOMPARE(FilesView(*form)->model()->rowCount(), kFiles);
        QCOMPARE(Status(*form)->countsText(), QStringLiteral("6 levels / 65 texts"));
        QCOMPARE(form->windowTitle(), kTitle + QStringLiteral(" - ") + path_ + QStringLiteral("[*]"));
        QVERIFY(form->isEnabled());
        QVERIFY(!Status(*form)->isProgressShown());
    }

    void aFailedOpenWithoutArchiveLeavesNone() {
        const auto form = open(folder_.filePath(QStringLiteral("missing.lgp")), false);
        form->OpenArchive(folder_.filePath(QStringLiteral("missing.lgp")));
        QVERIFY(WaitForJob(*form));
        QCOMPARE(form->errors, QStringList{QStringLiteral("Invalid file.")});
        QVERIFY(form->session().archive() == nullptr);
        QVERIFY(!action(*form, Command::Save)->isEnabled());
        QCOMPARE(form->windowTitle(), kTitle);
        form->openChoice = path_;
        action(*form, Command::Open)->trigger();
        QVERIFY(WaitForJob(*form));
        QCOMPARE(form->session().fileName(), path_);
    }

    void dropsOpenOneFileOnly() {
        const auto form = open(path_);
        DropUrls(*form, {QUrl::fromLocalFile(other_), QUrl::fromLocalFile(path_)});
        QVERIFY(!form->session().jobRunning());
        QCOMPARE(form->session().fileName(), path_);

        DropUrls(*form, {QUrl::fromLocalFile(other_)});
        QVERIFY(WaitForJob(*form));
        QCOMPARE(form->session().fileName(), other_);

        // On the editor too: the file opens, its path is not typed into the text.
        ClickFile(*form, QStringLiteral("ancnt3"));
        DropUrls(*Editor(*form)->viewport(), {QUrl::fromLocalFile(path_)});
        QVERIFY(WaitForJob(*form));
        QCOMPARE(form->session().fileName(), path_);
        QVERIFY(!form->session().hasUnsavedChanges());
        QVERIFY(form->questions.isEmpty());
    }

    void unsavedChangesAreAskedAbout() {
        const auto form = open(path_);
        ClickFile(*form, QStringLiteral("ancnt3"));
        QTest::keyClicks(Editor(*form), QStringLiteral("Kept "));
        const QString question = QStringLiteral("Save changes to levels.lgp?");

        // Cancel: the archive and its edit stay, whatever asked.
        form->answers = {QMessageBox::Cancel};
        form->OpenArchive(other_);
        QCOMPARE(form->questions, QStringList{question});
        QVERIFY(!form->session().jobRunning());
        QCOMPARE(form->session().fileName(), path_);
        QVERIFY(!form->close());
        QVERIFY(form->isVisible());
        action(*form, Command::Exit)->trigger();
        QVERIFY(form->isVisible());
        QCOMPARE(form->questions.size(), 3);

        // Save: the edit is written, then the other archive opens.
        form->answers = {QMessageBox::Save};
        form->OpenArchive(other_);
        QVERIFY(QTest::qWaitFor([&] { return !form->session().jobRunning() && form->session().fileName() == other_; },
                                kTimeout));
        QVERIFY(form->errors.isEmpty());
        TLGPFile saved;
        LoadArchive(saved, path_.toStdString());
        QCOMPARE(saved.SubFiles[2]->Texts[0].Bytes,
                 (std::vector<std::uint8_t>{0x2B, 0x45, 0x50, 0x54, 0x00, 0x26, 0x4F, 0x52, 0x47, 0x4F,
                                            0x54, 0x54, 0x45, 0x4E, 0x00, 0x23, 0x49, 0x54, 0x59, 0xFF}));

        // Discard: closing goes ahead without saving.
        ClickFile(*form, QStringLiteral("ancnt3"));
        QTest::keyClicks(Editor(*form), QStringLiteral("Lost "));
        form->answers = {QMessageBox::Discard};
        QVERIFY(form->close());
        QCOMPARE(form->questions.last(), QStringLiteral("Save changes to other.lgp?"));
        QCOMPARE(FileBytes(other_), FileBytes(folder_.filePath(QStringLiteral("demo.lgp"))));
    }

    void aFailedSaveGoesNoFurther() {
        QVERIFY(QDir(folder_.path()).mkpath(QStringLiteral("gone")));
        const QString doomed = folder_.filePath(QStringLiteral("gone/levels.lgp"));
        QVERIFY(QFile::copy(path_, doomed));
        const auto form = open(doomed);
        ClickFile(*form, QStringLiteral("ancnt3"));
        QTest::keyClicks(Editor(*form), QStringLiteral("Pending "));
        // The save writes its temporary file beside the archive: that folder is gone.
        QVERIFY(QDir(folder_.filePath(QStringLiteral("gone"))).removeRecursively());

        form->answers = {QMessageBox::Save};
        form->OpenArchive(other_);
        QVERIFY(QTest::qWaitFor([&] { return !form->errors.isEmpty() && !form->session().jobRunning(); }, kTimeout));
        QCOMPARE(form->errors, QStringList{QStringLiteral("An error occured during file saving.")});
        QVERIFY(form->details.first().startsWith(doomed + QStringLiteral(": ")));
        QCOMPARE(form->session().fileName(), doomed);
        QCOMPARE(form->session().currentSubFileIndex(), 2);
        QVERIFY(form->session().hasUnsavedChanges());
        QVERIFY(form->isEnabled());

        // A later save that succeeds does not go on with the open the failed one was for.
        QVERIFY(QDir(folder_.path()).mkpath(QStringLiteral("gone")));
        action(*form, Command::Save)->trigger();
        QVERIFY(QTest::qWaitFor([&] { return !form->session().hasUnsavedChanges() && !form->session().jobRunning(); },
                                kTimeout));
        QCoreApplication::processEvents();
        QVERIFY(!form->session().jobRunning());
        QCOMPARE(form->session().fileName(), doomed);
        QCOMPARE(form->errors.size(), 1);
    }

    void countsUseTheLocalesThousandsSeparator() {
        TStatusBar status;
        status.setCounts(702, 31652);
        QCOMPARE(status.countsText(), QStringLiteral("702 levels / 31,652 texts"));
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        status.setCounts(702, 31652);
        QCOMPARE(status.countsText(), QStringLiteral("702 levels / 31.652 texts"));
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        status.setCounts(-1, -1);
        QVERIFY(status.countsText().isEmpty());
    }

    void closingWithSaveClosesAfterTheSave() {
        const auto form = open(path_);
        ClickFile(*form, QStringLiteral("ancnt3"));
        QTest::keyClicks(Editor(*form), QStringLiteral("Closing "));
        form->answers = {QMessageBox::Save};
        QVERIFY(!form->close());
        QVERIFY(QTest::qWaitFor([&] { return !form->isVisible(); }, kTimeout));
        QCOMPARE(form->questions.size(), 1);
        QVERIFY(!form->session().hasUnsavedChanges());
    }

    void textsListMarksComparedTextsInRed() {
        const auto form = open(path_);
        ClickFile(*form, QStringLiteral("anfrst_1"));
        TLGPSubFile* level = form->session().currentLevel();
        level->CompareMarks.assign(level->Texts.size(), 0);
        level->CompareMarks[0] = 1;
        QListView* view = TextsView(*form);
        QCOMPARE(view->visualRect(view->model()->index(0, 0)).height(), 13);
        QCOMPARE(view->model()->index(1, 0).data(TTextsListModel::kWindowCountRole).toInt(), 2);
        view->clearSelection();
        view->setCurrentIndex({});
        const QImage image = view->viewport()->grab().toImage();
        const auto redPixels = [&](int row) {
            int red = 0;
            const QRect rect = view->visualRect(view->model()->index(row, 0));
            for (int y = rect.top(); y <= rect.bottom(); ++y) {
                for (int x = rect.left() + 23; x <= rect.right(); ++x) {
                    const QColor color = image.pixelColor(x, y);
                    if (color.red() > 200 && color.green() < 80 && color.blue() < 80) ++red;
                }
            }
            return red;
        };
        QVERIFY(redPixels(0) > 0);
        QCOMPARE(redPixels(1), 0);
    }

    void textPreviewFollowsTheTextItsWindowAndEdits() {
        const auto form = open(path_);
        QLabel* picture = Child<QLabel>(*form, "textPreviewPicture");
        const auto shown = [&] { return picture->pixmap().size(); };
        ClickFile(*form, QStringLiteral("anfrst_1"));
        // Text 2 is shown by a window of 237 x 73 and one of 189 x 57.
        ClickText(*form, 1);
        QCOMPARE(shown(), QSize(237, 73));
        WindowSelector(*form)->setValue(2);
        QCOMPARE(shown(), QSize(189, 57));

        // Without a window the height follows the lines, at every keystroke.
        ClickText(*form, 5);
        QCOMPARE(shown(), QSize(320, 25));
        Editor(*form)->moveCursor(QTextCursor::End);
        QTest::keyClick(Editor(*form), Qt::Key_Return);
        QCOMPARE(shown(), QSize(320, 41));
        // The default top left colour shows inside the frame near the top left corner.
        QVERIFY(qAbs(qBlue(picture->pixmap().toImage().pixel(3, 3)) - 176) < 12);

        // Hidden, the preview is not drawn; shown again, it is.
        action(*form, Command::DisplayTextPreview)->trigger();
        QVERIFY(picture->isHidden());
        QVERIFY(picture->pixmap().isNull());
        QTest::keyClick(Editor(*form), Qt::Key_A);
        QVERIFY(picture->pixmap().isNull());
        action(*form, Command::DisplayTextPreview)->trigger();
        QCOMPARE(shown(), QSize(320, 41));

        // A level without texts, or a file that is not a level, shows none.
        ClickFile(*form, QStringLiteral("ancnt4"));
        QVERIFY(picture->pixmap().isNull());
        ClickFile(*form, QStringLiteral("maplist"));
        QVERIFY(picture->pixmap().isNull());
    }

    void theWindowButtonModifiesTheSelectedWindow() {
        const auto form = open(path_);
        ClickFile(*form, QStringLiteral("anfrst_1"));
        ClickText(*form, 1);
        WindowSelector(*form)->setValue(2);
        // The dialog is modal: it is answered once it shows, what it showed checked after.
        int shownWidth = -1;
        QTimer::singleShot(0, form.get(), [&form, &shownWidth] {
            auto* dialog = form->findChild<QDialog*>(QStringLiteral("windowModificationForm"));
            shownWidth = Child<QSpinBox>(*dialog, "widthField")->value();
            Child<QSpinBox>(*dialog, "widthField")->setValue(150);
            Child<QPushButton>(*dialog, "okButton")->click();
        });
        Child<QToolButton>(*form, "windowButton")->click();
        QCOMPARE(shownWidth, 189);
        TWindow* window = form->session().currentWindow();
        QCOMPARE(window->Width, 150);
        QCOMPARE(window->SavedWidth, 189);
        QCOMPARE(Child<QLabel>(*form, "textPreviewPicture")->pixmap().size(), QSize(150, 57));
        QVERIFY(form->isWindowModified());
        QVERIFY(FilesView(*form)->model()->index(4, 1).data(Qt::FontRole).value<QFont>().bold());
        QVERIFY(TextsView(*form)->model()->index(1, 0).data(TTextsListModel::kChangedRole).toBool());
    }

    void theGameViewShowsTheCaretsPageWithTheChosenNames() {
        const auto form = open(path_);
        ClickFile(*form, QStringLiteral("anfrst_4"));
        // Text 12: three pages in a window of 220 x 73.
        ClickText(*form, 11);
        auto* gameView = Child<QCheckBox>(*form, "gameViewBox");
        QVERIFY(!gameView->isChecked());
        QVERIFY(PageCaption(*form).isEmpty());
        const QImage wrapped = Picture(*form)->pixmap().toImage();
        QCOMPARE(wrapped.size(), QSize(220, 73));

        gameView->click();
        QCOMPARE(PageCaption(*form), QStringLiteral("page 1/3"));
        const GlyphSets glyphs = GlyphSets::FromBuiltinFont();
        const std::string& tagged = form->session().currentTagged();
        const auto page = [&](int shown) {
            return DrawGameView(glyphs, DefaultWindowColors, tagged, 220, 73, shown,
                                text::CharacterNames::Default)
                .convertToFormat(QImage::Format_ARGB32_Premultiplied);
        };
        const auto picture = [&] {
            return Picture(*form)->pixmap().toImage().convertToFormat(
                QImage::Format_ARGB32_Premultiplied);
        };
        QCOMPARE(picture(), page(0));
        // The caret on the second page's first line, then at the end of the text.
        const QString text = Editor(*form)->toPlainText();
        PlaceCaret(*form, static_cast<int>(text.indexOf(QStringLiteral("{NEW PAGE}"))) + 12);
        QCOMPARE(PageCaption(*form), QStringLiteral("page 2/3"));
        QCOMPARE(picture(), page(1));
        Editor(*form)->moveCursor(QTextCursor::End);
        QCOMPARE(PageCaption(*form), QStringLiteral("page 3/3"));
        QCOMPARE(picture(), page(2));
        // Another text starts at its first page.
        ClickText(*form, 10);
        QCOMPARE(PageCaption(*form), QStringLiteral("page 1/4"));

        // Text 15, "{MEMBER 1} found a ...", in a window of 195 x 25: nine of the widest letter
        // pass its edge; the overflow widens the picture.
        ClickText(*form, 14);
        QCOMPARE(Picture(*form)->pixmap().size(), QSize(195, 25));
        QVERIFY(!Marked(*form, 14));
        QCOMPARE(OverflowCount(*form, kAnfrst4), QStringLiteral("3"));
        Child<QComboBox>(*form, "namesChoice")->setCurrentIndex(1);
        QCOMPARE(Picture(*form)->pixmap().size(), QSize(271, 25));
        QVERIFY(Marked(*form, 14));
        QCOMPARE(Hint(*form, 14), QStringLiteral("line 1 is 271 px in a window of 195"));
        QCOMPARE(OverflowCount(*form, kAnfrst4), QStringLiteral("4"));

        // Off, the whole text is drawn wrapped again.
        gameView->click();
        QVERIFY(PageCaption(*form).isEmpty());
        QCOMPARE(Picture(*form)->pixmap().size(), QSize(195, 25));
    }

    void overflowMarksFollowEveryKeystroke() {
        const auto form = open(path_);
        ClickFile(*form, QStringLiteral("anfrst_1"));
        // Text 2: three lines, in windows of 237 x 73 and 189 x 57.
        ClickText(*form, 1);
        QVERIFY(!Marked(*form, 1));
        QVERIFY(Hint(*form, 1).isEmpty());
        QCOMPARE(OverflowCount(*form, kAnfrst1), QStringLiteral("0"));

        Editor(*form)->moveCursor(QTextCursor::Down);
        Editor(*form)->moveCursor(QTextCursor::EndOfLine);
        QTest::keyClicks(Editor(*form), QStringLiteral(" and steep"));
        QVERIFY(Marked(*form, 1));
        QCOMPARE(Hint(*form, 1),
                 QStringLiteral(
                     "line 2 is 249 px in a window of 237\nline 2 is 249 px in a window of 189"));
        QCOMPARE(OverflowCount(*form, kAnfrst1), QStringLiteral("1"));
        const QModelIndex count =
            FilesView(*form)->model()->index(kAnfrst1, TFileListModel::kOverflowsColumn);
        QCOMPARE(count.data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
        for (int i = 0; i < 10; ++i) QTest::keyClick(Editor(*form), Qt::Key_Backspace);
        QVERIFY(!Marked(*form, 1));
        QCOMPARE(OverflowCount(*form, kAnfrst1), QStringLiteral("0"));

        // A fourth line is one too many for the smaller window.
        Editor(*form)->moveCursor(QTextCursor::End);
        QTest::keyClick(Editor(*form), Qt::Key_Return);
        QTest::keyClicks(Editor(*form), QStringLiteral("Hm."));
        QCOMPARE(Hint(*form, 1), QStringLiteral("page 1: 4 lines in a window for 3"));
        QCOMPARE(OverflowCount(*form, kAnfrst1), QStringLiteral("1"));
        // The list draws the mark at the right end of the row.
        QListView* view = TextsView(*form);
        const QRect row = view->visualRect(view->model()->index(1, 0));
        const QColor mark =
            view->viewport()->grab().toImage().pixelColor(row.right() - 9, row.top() + 10);
        QCOMPARE(mark, QColor(214, 64, 64));
    }

    void fitToTextAndWindowChangesUpdateTheMarks() {
        const auto form = open(path_);
        ClickFile(*form, QStringLiteral("anfrst_4"));
        // Texts 40, 41 and 43 share one window of 204 x 73 at (15, 151), and all pass its edge.
        QCOMPARE(OverflowCount(*form, kAnfrst4), QStringLiteral("3"));
        ClickText(*form, 42);
        QVERIFY(Marked(*form, 39) && Marked(*form, 40) && Marked(*form, 42));
        QCOMPARE(Hint(*form, 42), QStringLiteral("line 3 is 223 px in a window of 204"));
        const auto modify = [&](const std::function<void(QDialog&)>& answer) {
            QTimer::singleShot(0, form.get(), [&form, &answer] {
                answer(*form->findChild<QDialog*>(QStringLiteral("windowModificationForm")));
            });
            Child<QToolButton>(*form, "windowButton")->click();
        };
        QRect fitted;
        modify([&fitted](QDialog& dialog) {
            Child<QPushButton>(dialog, "fitToTextButton")->click();
            fitted = QRect(Child<QSpinBox>(dialog, "xField")->value(),
                           Child<QSpinBox>(dialog, "yField")->value(),
                           Child<QSpinBox>(dialog, "widthField")->value(),
                           Child<QSpinBox>(dialog, "heightField")->value());
            Child<QPushButton>(dialog, "okButton")->click();
        });
        // The widest line of the three texts, and four lines.
        QCOMPARE(fitted, QRect(15, 151, 223, 73));
        QCOMPARE(form->session().currentWindow()->Width, 223);
        QVERIFY(!Marked(*form, 39) && !Marked(*form, 40) && !Marked(*form, 42));
        QCOMPARE(OverflowCount(*form, kAnfrst4), QStringLiteral("0"));

        // Moved to the screen's right edge, the fitted window is pulled back onto it.
        modify([](QDialog& dialog) {
            Child<QSpinBox>(dialog, "xField")->setValue(200);
            Child<QSpinBox>(dialog, "widthField")->setValue(206);
            Child<QPushButton>(dialog, "fitToTextButton")->click();
            QCOMPARE(Child<QSpinBox>(dialog, "xField")->value(), 89);
            QCOMPARE(Child<QSpinBox>(dialog, "widthField")->value(), 223);
            Child<QSpinBox>(dialog, "widthField")->setValue(206);
            Child<QPushButton>(dialog, "okButton")->click();
        });
        QVERIFY(Marked(*form, 39) && !Marked(*form, 40) && Marked(*form, 42));
        QCOMPARE(OverflowCount(*form, kAnfrst4), QStringLiteral("2"));
    }

    void spellCheckingWithTheDictionaryChosenInTheViewMenu() {
        // A dictionary of the test's own: "climb" is unknown, "climbs" known.
        QFile aff(QDir(settings_->path()).filePath(QStringLiteral("tiny.aff")));
        QFile dic(QDir(settings_->path()).filePath(QStringLiteral("tiny.dic")));
        QVERIFY(aff.open(QIODevice::WriteOnly) && dic.open(QIODevice::WriteOnly));
        aff.write("SET UTF-8\nTRY s\n");
        dic.write("5\npress\nto\nclimbs\nthe\nladder\n");
        aff.close();
        dic.close();

        const auto form = open(path_);
        auto* menu = form->findChild<TMainMenu*>();
        QVERIFY(menu->dictionaryAction(QString())->isChecked());
        ClickFile(*form, QStringLiteral("anfrst_1"));
        ClickText(*form, 5);
        QCOMPARE(Editor(*form)->toPlainText(), kText6);
        QVERIFY(Underlined(*form).isEmpty());
        menu->dictionaryAction(QStringLiteral("tiny"))->trigger();
        QVERIFY(menu->dictionaryAction(QStringLiteral("tiny"))->isChecked());
        // "Press %23 to climb the ladder.": the placeholder is no word.
        QCOMPARE(Underlined(*form), QStringList{QStringLiteral("13+5")});
        menu->dictionaryAction(QString())->trigger();
        QVERIFY(Underlined(*form).isEmpty());
        menu->dictionaryAction(QStringLiteral("tiny"))->trigger();
        QCOMPARE(Underlined(*form), QStringList{QStringLiteral("13+5")});

        // Held read-only, as while replace-all runs: the suggestion is offered disabled, and
        // changes nothing.
        auto* pane = form->findChild<TTextEditorPane*>();
        pane->setReadOnly(true);
        UseContextMenu(*Editor(*form), 15, [](QMenu& context) {
            QCOMPARE(context.actions().first()->text(), QStringLiteral("climbs"));
            QVERIFY(!context.actions().first()->isEnabled());
            context.actions().first()->trigger();
        });
        QCOMPARE(Editor(*form)->toPlainText(), kText6);
        QCOMPARE(form->session().currentTagged(), kText6.toStdString());
        QVERIFY(!form->isWindowModified());
        pane->setReadOnly(false);

        UseContextMenu(*Editor(*form), 15, [](QMenu& context) {
            const QStringList texts = ActionTexts(context);
            QCOMPARE(texts.mid(0, 5),
                     (QStringList{"climbs", "-", "Ignore", "Add to dictionary", "-"}));
            // The standard entries follow, with their shortcuts once a menu has shown them.
            QVERIFY(texts.size() > 5 &&
                    !texts.filter(QRegularExpression(QStringLiteral("^Select All(\t|$)"))).isEmpty());
            context.actions().at(3)->trigger();
        });
        QVERIFY(Underlined(*form).isEmpty());
        QCOMPARE(FileBytes(QDir(settings_->path()).filePath(QStringLiteral("user_words.txt"))),
                 QByteArray("climb\n"));
        // Off a misspelled word, the menu is the standard one.
        UseContextMenu(*Editor(*form), 2, [](QMenu& context) {
            QVERIFY(ActionTexts(context).first() != QStringLiteral("climbs"));
        });
    }

    void withoutDictionariesTheSpellingMenuSaysSo() {
        const auto form = open(path_);
        QMenu* spelling = nullptr;
        for (QAction* title : form->menuBar()->actions()) {
            for (QAction* item : title->menu()->actions()) {
                if (item->menu() != nullptr &&
                    item->text().remove(u'&') == QStringLiteral("Spell checking")) {
                    spelling = item->menu();
                }
            }
        }
        QVERIFY(spelling != nullptr);
        QCOMPARE(spelling->actions().size(), 1);
        QCOMPARE(spelling->actions().first()->text().remove(u'&'),
                 QStringLiteral("No dictionary is installed"));
        QVERIFY(!spelling->actions().first()->isEnabled());
    }

    void theLevelPreviewFollowsTheSelectedLevel() {
        const auto form = open(path_);
        auto* picture = Child<QWidget>(*form, "levelPreviewPicture");
        QVERIFY(!picture->isEnabled());
        ClickFile(*form, QStringLiteral("anfrst_1"));
        QVERIFY(picture->isEnabled());
        QTest::mouseClick(picture, Qt::LeftButton, {}, picture->rect().center());
        auto* enlarged = Child<QDialog>(*form, "levelPreviewForm");
        QVERIFY(enlarged->isVisible());
        QCOMPARE(enlarged->windowTitle(), QStringLiteral("Preview anfrst_1"));
        QCOMPARE(Child<QLabel>(*enlarged, "pictureLabel")->pixmap().size(), QSize(336, 288));

        // The open window follows the selection, and is emptied by a file that is no level.
        ClickFile(*form, QStringLiteral("ancnt3"));
        QCOMPARE(enlarged->windowTitle(), QStringLiteral("Preview ancnt3"));
        QCOMPARE(Child<QLabel>(*enlarged, "pictureLabel")->pixmap().size(), QSize(448, 240));
        ClickFile(*form, QStringLiteral("maplist"));
        QCOMPARE(enlarged->windowTitle(), QStringLiteral("Preview"));
        QVERIFY(!picture->isEnabled());
        QVERIFY(enlarged->isVisible());
        // Another archive closes it.
        form->OpenArchive(other_);
        QVERIFY(WaitForJob(*form));
        QVERIFY(!enlarged->isVisible());
    }

    void previewSizesAndTheAboutBox() {
        TestedMainForm form(QStringList{}, Paths());
        form.show();
        // Without settings, the small level preview, and the text preview as high beside it.
        QVERIFY(form.findChild<TMainMenu*>()->levelPreviewSizeAction(1)->isChecked());
        QCOMPARE(Child<QWidget>(form, "levelPreview")->height(), 77);
        QCOMPARE(Child<QWidget>(form, "textPreview")->height(), 77);
        form.findChild<TMainMenu*>()->levelPreviewSizeAction(4)->trigger();
        QCOMPARE(Child<QWidget>(form, "levelPreview")->height(), 227);
        QCOMPARE(Child<QWidget>(form, "textPreview")->height(), 227);
        // The text preview can be made taller still.
        auto* splitter = Child<QSplitter>(form, "textsSplitter");
        splitter->setSizes({50, splitter->height() - 50 - splitter->handleWidth()});
        QVERIFY(Child<QWidget>(form, "textPreview")->height() > 300);

        auto* about = Child<QDialog>(form, "aboutForm");
        QCOMPARE(about->windowTitle(), QStringLiteral("About..."));
        QCOMPARE(Child<QLabel>(*about, "versionLabel")->text(), kTitle);
        QCOMPARE(Child<QLabel>(*about, "creditLabel")->text(), QStringLiteral("by Orvenne contributors"));
        QCOMPARE(about->size(), QSize(300, 150));
    }

private:
    TEditorPaths Paths() const { return TEditorPaths::inFolder(settings_->path()); }

    std::unique_ptr<TestedMainForm> open(const QString& path, bool wait = true) {
        auto form = std::make_unique<TestedMainForm>(QStringList{path}, Paths());
        form->show();
        if (wait && !WaitForJob(*form)) qWarning("the open job did not end");
        return form;
    }

    static void ExpectNoWindow(const TMainForm& form) {
        QVERIFY(!WindowSelector(form)->isEnabled());
        QCOMPARE(WindowSelector(form)->minimum(), -1);
        QCOMPARE(WindowSelector(form)->maximum(), -1);
        QCOMPARE(WindowSelector(form)->value(), -1);
        QVERIFY(!Child<QToolButton>(form, "windowButton")->isEnabled());
    }

    QTemporaryDir folder_;
    std::unique_ptr<QTemporaryDir> settings_;
    QString path_;
    QString other_;
};

QTEST_MAIN(MainFormTest)
#include "main_form_test.moc"
