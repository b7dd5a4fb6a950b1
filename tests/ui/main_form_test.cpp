#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QAction>
#include <QCheckBox>
#include <QCollator>
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
#include <QScrollArea>
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
#include "lgp/level_tables.h"
#include "lgp/window.h"
#include "preview/glyph_sets.h"
#include "preview/window_preview.h"
#include "sample/sample_archive.h"
#include "tests/ui/context_menu.h"
#include "tests/ui/sample_facts.h"
#include "text/text_decoder.h"
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

// A line of the game's font whose width is known: 'A' is 9 pixels wide, and a line takes 8
// before its glyphs and 3 after them; a party member's name takes 50 with the default names
// and 126 with the widest.
QString Letters(int count) { return QString(count, u'A'); }
int LettersWidth(int count) { return 8 + 9 * count + 3; }
constexpr int kMemberWidth = 50;
constexpr int kWidestMemberWidth = 126;
// The lines a window of this height holds: 16 pixels a line, and 9 besides.
int LinesIn(int height) { return (height - 9) / 16; }

// The windows of a text, each once, in the order of its list.
std::vector<const TWindow*> DistinctWindows(const TLevelText& text) {
    std::vector<const TWindow*> windows;
    for (const TWindow* window : text.Windows) {
        if (std::ranges::find(windows, window) == windows.end()) windows.push_back(window);
    }
    return windows;
}

// The texts of a level that `marks` lists, less those in `edited`.
int CountOutside(const std::vector<int>& marks, const std::vector<int>& edited) {
    return static_cast<int>(std::ranges::count_if(
        marks, [&edited](int text) { return std::ranges::find(edited, text) == edited.end(); }));
}

// Replaces the editor's whole text by typing it, line by line.
void Retype(QPlainTextEdit& editor, const QString& text) {
    editor.selectAll();
    const QStringList lines = text.split(u'\n');
    for (qsizetype line = 0; line < lines.size(); ++line) {
        if (line > 0) QTest::keyClick(&editor, Qt::Key_Return);
        QTest::keyClicks(&editor, lines[line]);
    }
}

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
        sample_ = sample::WriteSampleArchive(
            folder_.filePath(QStringLiteral("demo.lgp")).toStdString(), {.levels = 6});
        // A level whose first text has no window, with a text in two windows and a text of one
        // line without window, where nothing overflows.
        for (const int row : sample_facts::LevelRows(sample_)) {
            const sample::SampleLevel& level = *sample_facts::LevelAt(sample_, row);
            if (level.texts == 0) {
                if (noTexts_ < 0) noTexts_ = row;
                continue;
            }
            int two = -1;
            int none = -1;
            for (int t = 1; t < level.texts; ++t) {
                const std::string& tagged = level.tagged[static_cast<std::size_t>(t)];
                if (two < 0 && level.textWindows[static_cast<std::size_t>(t)] == 2) two = t;
                if (none < 0 && level.textWindows[static_cast<std::size_t>(t)] == 0 &&
                    !tagged.empty() && tagged.find("\r\n") == std::string::npos) {
                    none = t;
                }
            }
            if (level_ < 0 && level.textWindows[0] == 0 && level.overflowing.empty() && two > 0 &&
                none > 0) {
                level_ = row;
                twoWindows_ = two;
                windowless_ = none;
            } else if (secondLevel_ < 0) {
                secondLevel_ = row;
            }
        }
        maplist_ = sample_.TableIndex("maplist");
        QVERIFY(level_ >= 0 && secondLevel_ >= 0 && noTexts_ >= 0 && maplist_ >= 0);
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
        QCOMPARE(FileCaption(*form), QStringLiteral("File (%1)").arg(Files()));
        QCOMPARE(FilesView(*form)->model()->rowCount(), Files());
        QCOMPARE(Status(*form)->countsText(), sample_facts::CountsText(sample_));
        QCOMPARE(Status(*form)->creatorText(), QString::fromStdString(sample_.creator));
        QVERIFY(Status(*form)->statusText().isEmpty());
        QVERIFY(!Status(*form)->isProgressShown());
        QVERIFY(form->isEnabled());
        QVERIFY(action(*form, Command::Save)->isEnabled());
        QVERIFY(action(*form, Command::SaveAs)->isEnabled());
        QVERIFY(action(*form, Command::Find)->isEnabled());
        QVERIFY(!action(*form, Command::FindNext)->isEnabled());

        // Each file: its place, name, the level's description, texts, overflowing texts, and
        // translated texts (none without an original).
        for (int row = 0; row < Files(); ++row) {
            const sample::SampleLevel* level = sample_facts::LevelAt(sample_, row);
            const QString name = Name(row);
            QCOMPARE(Row(*form, row),
                     level == nullptr
                         ? (QStringList{QString::number(row + 1), name, "-", "-", "-", "-"})
                         : (QStringList{QString::number(row + 1), name, Description(row),
                                        QString::number(level->texts),
                                        QString::number(level->overflowing.size()), "-"}));
        }
        QCOMPARE(Row(*form, sample_.TableIndex("ancnt3")).value(2),
                 QStringLiteral("Forgotten City - altar"));
        const QModelIndex description = FilesView(*form)->model()->index(level_, 2);
        QCOMPARE(description.data(Qt::ForegroundRole).value<QColor>(), QColor(62, 88, 133));
        QCOMPARE(description.siblingAtColumn(1).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::black));
        // The first level is selected, not row 0 when that is no level.
        int firstLevel = 0;
        while (sample_facts::LevelAt(sample_, firstLevel) == nullptr) ++firstLevel;
        QCOMPARE(form->session().currentSubFileIndex(), firstLevel);
        QCOMPARE(FilesView(*form)->currentIndex().row(), firstLevel);
        QCOMPARE(form->session().currentText(), 0);
        QVERIFY(Editor(*form)->isEnabled());
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
        ClickFile(*form, Name(level_));
        TLGPSubFile* level = form->session().currentLevel();
        QCOMPARE(TextsView(*form)->model()->rowCount(), Level(level_).texts);
        QCOMPARE(TextsView(*form)->model()->index(0, 0).data().toString(), QStringLiteral("Text 1"));
        QCOMPARE(TextsView(*form)->currentIndex().row(), 0);
        QCOMPARE(Editor(*form)->toPlainText(), Shown(level_, 0));

        const int t = windowless_;
        const QString windowless = Shown(level_, t);
        ClickText(*form, t);
        QCOMPARE(Editor(*form)->toPlainText(), windowless);
        const std::vector<std::uint8_t> original = level->Texts[static_cast<std::size_t>(t)].Bytes;
        Editor(*form)->moveCursor(QTextCursor::End);
        QTest::keyClicks(Editor(*form), QStringLiteral("Hi!"));
        // H, i and ! are the game's codes 0x28, 0x49 and 0x01; a new line is 0xE7.
        QCOMPARE(level->Texts[static_cast<std::size_t>(t)].Bytes,
                 Appended(original, {0x28, 0x49, 0x01}));
        QTest::keyClick(Editor(*form), Qt::Key_Return);
        QCOMPARE(level->Texts[static_cast<std::size_t>(t)].Bytes,
                 Appended(original, {0x28, 0x49, 0x01, 0xE7}));
        QTest::keyClick(Editor(*form), Qt::Key_Backspace);
        QCOMPARE(level->Texts[static_cast<std::size_t>(t)].Bytes,
                 Appended(original, {0x28, 0x49, 0x01}));
        QCOMPARE(level->SavedTexts[static_cast<std::size_t>(t)], original);

        // The change shows: the caption's mark, the level's row and the text's row.
        QVERIFY(form->isWindowModified());
        QVERIFY(form->session().hasUnsavedChanges());
        const QAbstractItemModel* files = FilesView(*form)->model();
        QVERIFY(files->index(level_, 1).data(Qt::FontRole).value<QFont>().bold());
        QVERIFY(!files->index(secondLevel_, 1).data(Qt::FontRole).value<QFont>().bold());
        const QAbstractItemModel* texts = TextsView(*form)->model();
        QVERIFY(texts->index(t, 0).data(TTextsListModel::kChangedRole).toBool());
        QVERIFY(!texts->index(0, 0).data(TTextsListModel::kChangedRole).toBool());

        // Typed back to what is saved, nothing is marked any more.
        for (int i = 0; i < 3; ++i) QTest::keyClick(Editor(*form), Qt::Key_Backspace);
        QCOMPARE(level->Texts[static_cast<std::size_t>(t)].Bytes, original);
        QVERIFY(!form->isWindowModified());
        QVERIFY(!texts->index(t, 0).data(TTextsListModel::kChangedRole).toBool());

        // Ctrl+A selects the whole text; going back to a text shows it as stored.
        QTest::keyClick(Editor(*form), Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(Editor(*form)->textCursor().selectedText(), windowless);
        ClickText(*form, 0);
        ClickText(*form, t);
        QCOMPARE(Editor(*form)->toPlainText(), windowless);
    }

    void editCommandsAndTabLeaveTheGameTextClean() {
        const auto form = open(path_);
        const QString windowless = Shown(level_, windowless_);
        ClickFile(*form, Name(level_));
        ClickText(*form, windowless_);
        Editor(*form)->setFocus();
        Editor(*form)->moveCursor(QTextCursor::End);
        QTest::keyClicks(Editor(*form), QStringLiteral("!"));
        QVERIFY(action(*form, Command::Undo)->isEnabled());
        action(*form, Command::Undo)->trigger();
        QCOMPARE(Editor(*form)->toPlainText(), windowless);
        action(*form, Command::Redo)->trigger();
        QCOMPARE(Editor(*form)->toPlainText(), windowless + QStringLiteral("!"));
        action(*form, Command::SelectAll)->trigger();
        action(*form, Command::Copy)->trigger();
        Editor(*form)->moveCursor(QTextCursor::End);
        action(*form, Command::Paste)->trigger();
        QCOMPARE(Editor(*form)->toPlainText(),
                 windowless + QStringLiteral("!") + windowless + QStringLiteral("!"));

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
        ClickFile(*form, Name(noTexts_));
        QCOMPARE(form->session().currentSubFileIndex(), noTexts_);
        QCOMPARE(TextsView(*form)->model()->rowCount(), 0);
        QVERIFY(!TextsView(*form)->isEnabled());
        QVERIFY(!Editor(*form)->isEnabled());
        QVERIFY(Editor(*form)->toPlainText().isEmpty());
        ExpectNoWindow(*form);

        ClickFile(*form, QStringLiteral("maplist"));
        QCOMPARE(form->session().currentSubFileIndex(), maplist_);
        QVERIFY(!Editor(*form)->isEnabled());
        ExpectNoWindow(*form);

        ClickFile(*form, Name(level_));
        ExpectNoWindow(*form);
        ClickText(*form, twoWindows_);
        QVERIFY(WindowSelector(*form)->isEnabled());
        QCOMPARE(WindowSelector(*form)->minimum(), 1);
        QCOMPARE(WindowSelector(*form)->maximum(), 2);
        QCOMPARE(WindowSelector(*form)->value(), 1);
        QVERIFY(Child<QToolButton>(*form, "windowButton")->isEnabled());
    }

    void sortsByEachColumnKeepingTheSelection() {
        const auto form = open(path_);
        ClickFile(*form, Name(level_));
        // Each file's "#", as shown, and the values it is sorted by.
        std::vector<int> order(static_cast<std::size_t>(Files()));
        for (int row = Files() - 1; row >= 0; --row)
            order[static_cast<std::size_t>(Files() - 1 - row)] = row;
        const auto numbers = [&order] {
            QStringList shown;
            for (const int row : order) shown << QString::number(row + 1);
            return shown;
        };
        const auto texts = [this](int row) {
            const sample::SampleLevel* level = sample_facts::LevelAt(sample_, row);
            return level != nullptr ? level->texts : -1;
        };
        QCollator collator;
        collator.setCaseSensitivity(Qt::CaseInsensitive);

        ClickHeader(*form, 0);
        QCOMPARE(Column(*form, 0).first(), QStringLiteral("1"));
        ClickHeader(*form, 0);
        QCOMPARE(Column(*form, 0), numbers());
        QCOMPARE(FilesView(*form)->header()->sortIndicatorOrder(), Qt::DescendingOrder);
        QVERIFY(FilesView(*form)->header()->isSortIndicatorShown());

        // Texts: "-" before 0, then by number, equal values in the order shown before.
        ClickHeader(*form, 3);
        std::ranges::stable_sort(order, [&](int a, int b) { return texts(a) < texts(b); });
        QCOMPARE(Column(*form, 0), numbers());
        // Names and descriptions in the locale's order, letter case aside.
        ClickHeader(*form, 1);
        std::ranges::stable_sort(
            order, [&](int a, int b) { return collator.compare(Name(a), Name(b)) < 0; });
        QCOMPARE(Column(*form, 0), numbers());
        ClickHeader(*form, 2);
        QStringList descriptions;
        for (int row = 0; row < Files(); ++row) descriptions << Description(row);
        std::ranges::sort(descriptions, [&](const QString& a, const QString& b) {
            return collator.compare(a, b) < 0;
        });
        QCOMPARE(Column(*form, 2), descriptions);
        ClickHeader(*form, 2);
        QCOMPARE(Column(*form, 2).first(), descriptions.last());

        // The selected level stays selected and in view.
        QCOMPARE(form->session().currentSubFileIndex(), level_);
        const QModelIndex current = FilesView(*form)->currentIndex();
        QCOMPARE(current.siblingAtColumn(1).data().toString(), Name(level_));
        QVERIFY(FilesView(*form)->viewport()->rect().intersects(FilesView(*form)->visualRect(current)));
    }

    void onlyLevelsKeepsTheSelectedLevel() {
        const auto form = open(path_);
        const std::vector<int> levels = sample_facts::LevelRows(sample_);
        QStringList numbers;
        for (const int row : levels) numbers << QString::number(row + 1);
        ClickFile(*form, Name(level_));
        action(*form, Command::OnlyLevels)->trigger();
        QCOMPARE(Column(*form, 0), numbers);
        QCOMPARE(FileCaption(*form), QStringLiteral("File (%1)").arg(levels.size()));
        QCOMPARE(form->session().currentSubFileIndex(), level_);
        QCOMPARE(FilesView(*form)->currentIndex().row(),
                 static_cast<int>(std::ranges::find(levels, level_) - levels.begin()));

        action(*form, Command::AllFiles)->trigger();
        QCOMPARE(FilesView(*form)->model()->rowCount(), Files());
        QCOMPARE(FileCaption(*form), QStringLiteral("File (%1)").arg(Files()));
        QCOMPARE(form->session().currentSubFileIndex(), level_);

        // A file that is no level leaves the list: the first row is selected.
        ClickFile(*form, QStringLiteral("maplist"));
        action(*form, Command::OnlyLevels)->trigger();
        QCOMPARE(FilesView(*form)->currentIndex().row(), 0);
        QCOMPARE(form->session().currentSubFileIndex(), levels.front());
    }

    void theChoiceOfOnlyLevelsHoldsForTheNextArchive() {
        TestedMainForm form(QStringList{}, Paths());
        form.show();
        action(form, Command::OnlyLevels)->trigger();
        form.openChoice = path_;
        action(form, Command::Open)->trigger();
        QVERIFY(WaitForJob(form));
        QCOMPARE(FilesView(form)->model()->rowCount(), static_cast<int>(sample_.levels.size()));
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

        ClickFile(*form, Name(secondLevel_));
        TLGPSubFile* level = form->session().currentLevel();
        const std::vector<std::uint8_t> original = level->Texts[0].Bytes;
        const QString shown = Shown(secondLevel_, 0);
        Editor(*form)->moveCursor(QTextCursor::Start);
        red->click();
        QCOMPARE(Editor(*form)->toPlainText(), QStringLiteral("{RED}") + shown);
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
        QCOMPARE(Editor(*form)->toPlainText(), QStringLiteral("{CLOUD}{PAUSE 1}") + shown);
        expected.erase(expected.begin(), expected.begin() + 2);
        expected.insert(expected.begin(), {0xEA, 0xFE, 0xDD, 0x0A, 0x00});
        QCOMPARE(level->Texts[0].Bytes, expected);
    }

    void saveWritesTheEditAndClearsTheMark() {
        const auto form = open(path_);
        ClickFile(*form, Name(secondLevel_));
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
        QVERIFY(!FilesView(*form)
                     ->model()
                     ->index(secondLevel_, 1)
                     .data(Qt::FontRole)
                     .value<QFont>()
                     .bold());

        // Opening the file again (no question: nothing is pending) shows the edit.
        form->OpenArchive(path_);
        QVERIFY(WaitForJob(*form));
        QVERIFY(form->questions.isEmpty());
        ClickFile(*form, Name(secondLevel_));
        QCOMPARE(Editor(*form)->toPlainText(), Shown(secondLevel_, 0) + QStringLiteral(" Saved."));
    }

    void saveAsSwitchesToTheWrittenFile() {
        const auto form = open(path_);
        ClickFile(*form, Name(secondLevel_));
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
        lgp::LoadArchive(copy, folder_.filePath(QStringLiteral("copy.txt.lgp")).toStdString());
        QCOMPARE(copy.SubFiles[static_cast<std::size_t>(secondLevel_)]->Texts[0].Bytes,
                 form->session().currentLevel()->Texts[0].Bytes);

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
        ClickFile(*form, Name(level_));
        form->OpenArchive(invalid);
        QVERIFY(WaitForJob(*form));
        QCOMPARE(form->errors, QStringList{QStringLiteral("Invalid file.")});
        QVERIFY(form->details.first().startsWith(invalid + QStringLiteral(": ")));
        QCOMPARE(form->session().fileName(), path_);
        QCOMPARE(form->session().currentSubFileIndex(), level_);
        QCOMPARE(FilesView(*form)->model()->rowCount(), Files());
        QCOMPARE(Status(*form)->countsText(), sample_facts::CountsText(sample_));
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
        ClickFile(*form, Name(secondLevel_));
        DropUrls(*Editor(*form)->viewport(), {QUrl::fromLocalFile(path_)});
        QVERIFY(WaitForJob(*form));
        QCOMPARE(form->session().fileName(), path_);
        QVERIFY(!form->session().hasUnsavedChanges());
        QVERIFY(form->questions.isEmpty());
    }

    void unsavedChangesAreAskedAbout() {
        const auto form = open(path_);
        ClickFile(*form, Name(secondLevel_));
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
        lgp::LoadArchive(saved, path_.toStdString());
        QCOMPARE(text::DecodeText(
                     saved.SubFiles[static_cast<std::size_t>(secondLevel_)]->Texts[0].Bytes),
                 "Kept " + Level(secondLevel_).tagged[0]);

        // Discard: closing goes ahead without saving.
        ClickFile(*form, Name(secondLevel_));
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
        ClickFile(*form, Name(secondLevel_));
        QTest::keyClicks(Editor(*form), QStringLiteral("Pending "));
        // The save writes its temporary file beside the archive: that folder is gone.
        QVERIFY(QDir(folder_.filePath(QStringLiteral("gone"))).removeRecursively());

        form->answers = {QMessageBox::Save};
        form->OpenArchive(other_);
        QVERIFY(QTest::qWaitFor([&] { return !form->errors.isEmpty() && !form->session().jobRunning(); }, kTimeout));
        QCOMPARE(form->errors, QStringList{QStringLiteral("An error occured during file saving.")});
        QVERIFY(form->details.first().startsWith(doomed + QStringLiteral(": ")));
        QCOMPARE(form->session().fileName(), doomed);
        QCOMPARE(form->session().currentSubFileIndex(), secondLevel_);
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
        ClickFile(*form, Name(secondLevel_));
        QTest::keyClicks(Editor(*form), QStringLiteral("Closing "));
        form->answers = {QMessageBox::Save};
        QVERIFY(!form->close());
        QVERIFY(QTest::qWaitFor([&] { return !form->isVisible(); }, kTimeout));
        QCOMPARE(form->questions.size(), 1);
        QVERIFY(!form->session().hasUnsavedChanges());
    }

    void textsListMarksComparedTextsInRed() {
        const auto form = open(path_);
        ClickFile(*form, Name(level_));
        TLGPSubFile* level = form->session().currentLevel();
        level->CompareMarks.assign(level->Texts.size(), 0);
        level->CompareMarks[0] = 1;
        QListView* view = TextsView(*form);
        QCOMPARE(view->visualRect(view->model()->index(0, 0)).height(), 13);
        QCOMPARE(
            view->model()->index(twoWindows_, 0).data(TTextsListModel::kWindowCountRole).toInt(),
            2);
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
        QCOMPARE(redPixels(twoWindows_), 0);
    }

    void textPreviewFollowsTheTextItsWindowAndEdits() {
        const auto form = open(path_);
        QLabel* picture = Child<QLabel>(*form, "textPreviewPicture");
        const auto shown = [&] { return picture->pixmap().size(); };
        ClickFile(*form, Name(level_));
        // A text shown by two windows: the preview takes the size of the one chosen.
        ClickText(*form, twoWindows_);
        const TLevelText& text =
            form->session().currentLevel()->Texts[static_cast<std::size_t>(twoWindows_)];
        QCOMPARE(shown(), QSize(text.Windows[0]->Width, text.Windows[0]->Height));
        WindowSelector(*form)->setValue(2);
        QCOMPARE(shown(), QSize(text.Windows[1]->Width, text.Windows[1]->Height));

        // Without a window the height follows the lines, at every keystroke.
        ClickText(*form, windowless_);
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
        ClickFile(*form, Name(noTexts_));
        QVERIFY(picture->pixmap().isNull());
        ClickFile(*form, QStringLiteral("maplist"));
        QVERIFY(picture->pixmap().isNull());
    }

    void theWindowButtonModifiesTheSelectedWindow() {
        const auto form = open(path_);
        ClickFile(*form, Name(level_));
        ClickText(*form, twoWindows_);
        WindowSelector(*form)->setValue(2);
        const TWindow* selected = form->session().currentWindow();
        const int width = selected->Width;
        const int height = selected->Height;
        QVERIFY(width != 150);
        // The dialog is modal: it is answered once it shows, what it showed checked after.
        int shownWidth = -1;
        QTimer::singleShot(0, form.get(), [&form, &shownWidth] {
            auto* dialog = form->findChild<QDialog*>(QStringLiteral("windowModificationForm"));
            shownWidth = Child<QSpinBox>(*dialog, "widthField")->value();
            Child<QSpinBox>(*dialog, "widthField")->setValue(150);
            Child<QPushButton>(*dialog, "okButton")->click();
        });
        Child<QToolButton>(*form, "windowButton")->click();
        QCOMPARE(shownWidth, width);
        TWindow* window = form->session().currentWindow();
        QCOMPARE(window->Width, 150);
        QCOMPARE(window->SavedWidth, width);
        QCOMPARE(Child<QLabel>(*form, "textPreviewPicture")->pixmap().size(), QSize(150, height));
        QVERIFY(form->isWindowModified());
        QVERIFY(
            FilesView(*form)->model()->index(level_, 1).data(Qt::FontRole).value<QFont>().bold());
        QVERIFY(TextsView(*form)
                    ->model()
                    ->index(twoWindows_, 0)
                    .data(TTextsListModel::kChangedRole)
                    .toBool());
    }

    void theGameViewShowsTheCaretsPageWithTheChosenNames() {
        // Two windowed texts of a level, the first shown by one window.
        int second = -1;
        const sample_facts::TextPlace place =
            sample_facts::FindText(sample_, [&second](const sample::SampleLevel& level, int text) {
                if (level.textWindows[static_cast<std::size_t>(text)] != 1) return false;
                for (second = 0; second < level.texts; ++second) {
                    if (second != text && level.textWindows[static_cast<std::size_t>(second)] > 0)
                        return true;
                }
                return false;
            });
        QVERIFY(place.subFile >= 0);
        const sample::SampleLevel& level = Level(place.subFile);
        const auto form = open(path_);
        ClickFile(*form, Name(place.subFile));
        // Four pages in the other text, three in this one.
        ClickText(*form, second);
        Retype(*Editor(*form), QStringLiteral("A\n{NEW PAGE}\nB\n{NEW PAGE}\nC\n{NEW PAGE}\nD"));
        ClickText(*form, place.text);
        Retype(*Editor(*form), QStringLiteral("A\n{NEW PAGE}\nBB\n{NEW PAGE}\nCCC"));
        const TWindow& window = *form->session().currentWindow();
        const QSize size(window.Width, window.Height);
        auto* gameView = Child<QCheckBox>(*form, "gameViewBox");
        QVERIFY(!gameView->isChecked());
        QVERIFY(PageCaption(*form).isEmpty());
        QCOMPARE(Picture(*form)->pixmap().size(), size);

        gameView->click();
        const preview::GlyphSets glyphs = preview::GlyphSets::FromBuiltinFont();
        const std::string& tagged = form->session().currentTagged();
        const auto page = [&](int shown) {
            return preview::DrawGameView(glyphs, preview::DefaultWindowColors, tagged, size.width(),
                                         size.height(), shown, text::CharacterNames::Default)
                .convertToFormat(QImage::Format_ARGB32_Premultiplied);
        };
        const auto picture = [&] {
            return Picture(*form)->pixmap().toImage().convertToFormat(
                QImage::Format_ARGB32_Premultiplied);
        };
        // The caret at the start, on the second page's first line, then at the end of the text.
        PlaceCaret(*form, 0);
        QCOMPARE(PageCaption(*form), QStringLiteral("page 1/3"));
        QCOMPARE(picture(), page(0));
        const QString text = Editor(*form)->toPlainText();
        PlaceCaret(*form, static_cast<int>(text.indexOf(QStringLiteral("{NEW PAGE}"))) + 12);
        QCOMPARE(PageCaption(*form), QStringLiteral("page 2/3"));
        QCOMPARE(picture(), page(1));
        Editor(*form)->moveCursor(QTextCursor::End);
        QCOMPARE(PageCaption(*form), QStringLiteral("page 3/3"));
        QCOMPARE(picture(), page(2));
        // Another text starts at its first page.
        ClickText(*form, second);
        QCOMPARE(PageCaption(*form), QStringLiteral("page 1/4"));

        // A party member's name and letters that fill the window with the default names pass
        // its edge with the widest; the overflow widens the picture.
        ClickText(*form, place.text);
        const int letters = (window.Width - LettersWidth(0) - kMemberWidth) / 9;
        Retype(*Editor(*form), QStringLiteral("{MEMBER 1}") + Letters(letters));
        const int widest = LettersWidth(letters) + kWidestMemberWidth;
        QVERIFY(LettersWidth(letters) + kMemberWidth <= window.Width && widest > window.Width);
        QCOMPARE(Picture(*form)->pixmap().size(), size);
        QVERIFY(!Marked(*form, place.text));
        const std::vector<int> edited = {place.text, second};
        QCOMPARE(OverflowCount(*form, place.subFile),
                 QString::number(CountOutside(level.overflowing, edited)));
        Child<QComboBox>(*form, "namesChoice")->setCurrentIndex(1);
        QCOMPARE(Picture(*form)->pixmap().size(), QSize(widest, size.height()));
        QVERIFY(Marked(*form, place.text));
        QCOMPARE(Hint(*form, place.text),
                 QStringLiteral("line 1 is %1 px in a window of %2").arg(widest).arg(window.Width));
        QCOMPARE(OverflowCount(*form, place.subFile),
                 QString::number(CountOutside(level.overflowingWidest, edited) + 1));

        // Off, the whole text is drawn wrapped again.
        gameView->click();
        QVERIFY(PageCaption(*form).isEmpty());
        QCOMPARE(Picture(*form)->pixmap().size(), size);
    }

    void overflowMarksFollowEveryKeystroke() {
        const auto form = open(path_);
        ClickFile(*form, Name(level_));
        // A text in two windows, which nothing overflows.
        ClickText(*form, twoWindows_);
        QVERIFY(!Marked(*form, twoWindows_));
        QVERIFY(Hint(*form, twoWindows_).isEmpty());
        QCOMPARE(OverflowCount(*form, level_), QStringLiteral("0"));
        const std::vector<const TWindow*> windows = DistinctWindows(
            form->session().currentLevel()->Texts[static_cast<std::size_t>(twoWindows_)]);
        int fitting = 1000;
        int passing = 0;
        for (const TWindow* window : windows) {
            fitting = std::min(fitting, (window->Width - LettersWidth(0)) / 9);
            passing = std::max(passing, (window->Width - LettersWidth(0)) / 9 + 1);
        }
        Retype(*Editor(*form), Letters(fitting));
        QVERIFY(!Marked(*form, twoWindows_));

        // Wider than both windows.
        QTest::keyClicks(Editor(*form), Letters(passing - fitting));
        QVERIFY(Marked(*form, twoWindows_));
        QStringList hints;
        for (const TWindow* window : windows) {
            hints << QStringLiteral("line 1 is %1 px in a window of %2")
                         .arg(LettersWidth(passing))
                         .arg(window->Width);
        }
        QCOMPARE(Hint(*form, twoWindows_), hints.join(u'\n'));
        QCOMPARE(OverflowCount(*form, level_), QStringLiteral("1"));
        const QModelIndex count =
            FilesView(*form)->model()->index(level_, TFileListModel::kOverflowsColumn);
        QCOMPARE(count.data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
        for (int i = fitting; i < passing; ++i) QTest::keyClick(Editor(*form), Qt::Key_Backspace);
        QVERIFY(!Marked(*form, twoWindows_));
        QCOMPARE(OverflowCount(*form, level_), QStringLiteral("0"));

        // One line more than the smaller window holds.
        int fewest = 1000;
        for (const TWindow* window : windows) fewest = std::min(fewest, LinesIn(window->Height));
        for (int line = 1; line <= fewest; ++line) {
            QTest::keyClick(Editor(*form), Qt::Key_Return);
            QTest::keyClicks(Editor(*form), QStringLiteral("A"));
        }
        hints.clear();
        for (const TWindow* window : windows) {
            if (LinesIn(window->Height) == fewest) {
                hints << QStringLiteral("page 1: %1 lines in a window for %2")
                             .arg(fewest + 1)
                             .arg(fewest);
            }
        }
        QCOMPARE(Hint(*form, twoWindows_), hints.join(u'\n'));
        QCOMPARE(OverflowCount(*form, level_), QStringLiteral("1"));
        // The list draws the mark at the right end of the row.
        QListView* view = TextsView(*form);
        const QRect row = view->visualRect(view->model()->index(twoWindows_, 0));
        const QColor mark =
            view->viewport()->grab().toImage().pixelColor(row.right() - 9, row.top() + 10);
        QCOMPARE(mark, QColor(214, 64, 64));
    }

    void fitToTextAndWindowChangesUpdateTheMarks() {
        const auto form = open(path_);
        // A window shown by several texts that show no other window.
        const TLGPFile& archive = *form->session().archive();
        int subFile = -1;
        const TWindow* shared = nullptr;
        std::vector<int> texts;
        for (const int row : sample_facts::LevelRows(sample_)) {
            const TLGPSubFile& level = *archive.SubFiles[static_cast<std::size_t>(row)];
            for (const TLevelText& candidate : level.Texts) {
                const std::vector<const TWindow*> windows = DistinctWindows(candidate);
                if (windows.size() != 1 || subFile >= 0) continue;
                texts.clear();
                for (std::size_t t = 0; t < level.Texts.size(); ++t) {
                    const std::vector<const TWindow*> shown = DistinctWindows(level.Texts[t]);
                    if (std::ranges::find(shown, windows[0]) == shown.end()) continue;
                    if (shown.size() != 1) {
                        texts.clear();
                        break;
                    }
                    texts.push_back(static_cast<int>(t));
                }
                if (texts.size() >= 2) {
                    subFile = row;
                    shared = windows[0];
                }
            }
        }
        QVERIFY(subFile >= 0);
        const QPoint at(shared->X, shared->Y);
        // All wider than the window, the second a letter less wide than the others.
        const int letters = (shared->Width - LettersWidth(0)) / 9 + 2;
        ClickFile(*form, Name(subFile));
        for (const int text : texts) {
            ClickText(*form, text);
            Retype(*Editor(*form), Letters(text == texts[1] ? letters - 1 : letters));
        }
        const int outside = CountOutside(Level(subFile).overflowing, texts);
        QCOMPARE(OverflowCount(*form, subFile),
                 QString::number(outside + static_cast<int>(texts.size())));
        for (const int text : texts) QVERIFY(Marked(*form, text));
        QCOMPARE(Hint(*form, texts[0]), QStringLiteral("line 1 is %1 px in a window of %2")
                                            .arg(LettersWidth(letters))
                                            .arg(shared->Width));
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
        // The widest line of the texts, and one line, where the window was.
        const int width = LettersWidth(letters);
        QVERIFY(at.x() + width <= 320 && at.y() + 25 <= 224);
        QCOMPARE(fitted, QRect(at.x(), at.y(), width, 25));
        QCOMPARE(form->session().currentWindow()->Width, width);
        for (const int text : texts) QVERIFY(!Marked(*form, text));
        QCOMPARE(OverflowCount(*form, subFile), QString::number(outside));

        // Moved to the screen's right edge, the fitted window is pulled back onto it, to end 8
        // pixels before the edge; a pixel narrower, it is too small for all but the second.
        QVERIFY(200 + width > 320);
        modify([width](QDialog& dialog) {
            Child<QSpinBox>(dialog, "xField")->setValue(200);
            Child<QSpinBox>(dialog, "widthField")->setValue(width - 20);
            Child<QPushButton>(dialog, "fitToTextButton")->click();
            QCOMPARE(Child<QSpinBox>(dialog, "xField")->value(), 312 - width);
            QCOMPARE(Child<QSpinBox>(dialog, "widthField")->value(), width);
            Child<QSpinBox>(dialog, "widthField")->setValue(width - 1);
            Child<QPushButton>(dialog, "okButton")->click();
        });
        for (const int text : texts) QCOMPARE(Marked(*form, text), text != texts[1]);
        QCOMPARE(OverflowCount(*form, subFile),
                 QString::number(outside + static_cast<int>(texts.size()) - 1));
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
        ClickFile(*form, Name(level_));
        ClickText(*form, windowless_);
        const QString ladder = QStringLiteral("Press %23 to climb the ladder.");
        Retype(*Editor(*form), ladder);
        QCOMPARE(Editor(*form)->toPlainText(), ladder);
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
        QCOMPARE(Editor(*form)->toPlainText(), ladder);
        QCOMPARE(form->session().currentTagged(), ladder.toStdString());
        pane->setReadOnly(false);

        UseContextMenu(*Editor(*form), 15, [](QMenu& context) {
            const QStringList texts = ActionTexts(context);
            QCOMPARE(texts.mid(0, 5),
                     (QStringList{"climbs", "-", "Ignore", "Add to dictionary", "-"}));
            // The standard entries follow, with their shortcuts once a menu has shown them.
            QVERIFY(
                texts.size() > 5 &&
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
        ClickFile(*form, QStringLiteral("maplist"));
        QVERIFY(!picture->isEnabled());
        ClickFile(*form, Name(level_));
        QVERIFY(picture->isEnabled());
        QTest::mouseClick(picture, Qt::LeftButton, {}, picture->rect().center());
        auto* enlarged = Child<QDialog>(*form, "levelPreviewForm");
        QVERIFY(enlarged->isVisible());
        QCOMPARE(enlarged->windowTitle(), QStringLiteral("Preview ") + Name(level_));
        QCOMPARE(Child<QLabel>(*enlarged, "pictureLabel")->pixmap().size(), BackgroundSize(level_));

        // The open window follows the selection, and is emptied by a file that is no level.
        ClickFile(*form, Name(secondLevel_));
        QCOMPARE(enlarged->windowTitle(), QStringLiteral("Preview ") + Name(secondLevel_));
        QCOMPARE(Child<QLabel>(*enlarged, "pictureLabel")->pixmap().size(),
                 BackgroundSize(secondLevel_));
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
        // Without settings, the small level preview, and the text preview beside it at least as
        // high, and high enough for a window of three lines.
        QVERIFY(form.findChild<TMainMenu*>()->levelPreviewSizeAction(1)->isChecked());
        QCOMPARE(Child<QWidget>(form, "levelPreview")->height(), 77);
        QVERIFY(Child<QWidget>(form, "textPreview")->height() >= 77);
        QVERIFY(Child<QScrollArea>(form, "textPreviewArea")->viewport()->height() >= 16 * 3 + 9);
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

    int Files() const { return static_cast<int>(sample_.files.size()); }
    QString Name(int subFile) const {
        return QString::fromStdString(sample_.files[static_cast<std::size_t>(subFile)]);
    }
    const sample::SampleLevel& Level(int subFile) const {
        return *sample_facts::LevelAt(sample_, subFile);
    }
    // A text as the editor shows it.
    QString Shown(int subFile, int text) const {
        return sample_facts::EditorText(sample_, {subFile, text});
    }
    // The file list's description: the level's, "-" for a file that is no level.
    QString Description(int subFile) const {
        const int level = lgp::LevelIndex(sample_.files[static_cast<std::size_t>(subFile)]);
        return level < 0 || sample_facts::LevelAt(sample_, subFile) == nullptr
                   ? QStringLiteral("-")
                   : QString::fromLatin1(
                         lgp::EnglishDescriptions()[static_cast<std::size_t>(level)]);
    }
    QSize BackgroundSize(int subFile) const {
        return QSize(Level(subFile).backgroundWidth, Level(subFile).backgroundHeight);
    }

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
    sample::SampleArchive sample_;
    // What the tests work on, by table index: a level whose first text has no window, with a
    // text in two windows (twoWindows_) and a text of one line without window (windowless_),
    // where nothing overflows; another level with texts; a level without texts; "maplist".
    int level_ = -1;
    int twoWindows_ = -1;
    int windowless_ = -1;
    int secondLevel_ = -1;
    int noTexts_ = -1;
    int maplist_ = -1;
    std::unique_ptr<QTemporaryDir> settings_;
    QString path_;
    QString other_;
};

QTEST_MAIN(MainFormTest)
#include "main_form_test.moc"
