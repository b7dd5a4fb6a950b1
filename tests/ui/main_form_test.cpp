#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QUrl>
#include <QtTest>

#include "lgp/archive_loader.h"
#include "lgp/field_rebuilder.h"
#include "lgp/level_tables.h"
#include "platform/program_version.h"
#include "sample/sample_archive.h"
#include "text/text_decoder.h"
#include "text/text_encoder.h"
#include "ui/about_form.h"
#include "ui/editor_text.h"
#include "ui/file_list_item.h"
#include "ui/main_form.h"

namespace {

// Generous for the sanitizer build.
constexpr int kTimeout = 60000;
constexpr int kLevels = 6;
// Level 2 of the demo archive has a text section too small for any text.
constexpr int kLevelWithoutTexts = 2;

QString ProgramTitle() {
    return QString::fromUtf8(platform::kProgramTitle.data(),
                             static_cast<qsizetype>(platform::kProgramTitle.size()));
}

// The main window with its dialogs answered by the test: errors and questions are recorded,
// the questions answered from `answers` (Cancel when none is left), file dialogs give the
// names set beforehand.
class TestedMainForm : public TMainForm {
public:
    using TMainForm::TMainForm;

    QStringList errors;
    QStringList questions;
    QList<QMessageBox::StandardButton> answers;
    QString openChoice;
    QString saveAsChoice;
    bool saveAsFirstFilter = true;
    QString saveAsFolder;
    QString saveAsFilter;

protected:
    void ShowErrorMessage(const QString& text) override {
        // Shown while the job waits and before the window is enabled again.
        QVERIFY(!isEnabled());
        errors << text;
    }
    QMessageBox::StandardButton AskSaveChanges(const QString& question) override {
        questions << question;
        return answers.isEmpty() ? QMessageBox::Cancel : answers.takeFirst();
    }
    QString ChooseArchiveToOpen(const QString&, const QString&) override { return openChoice; }
    QString ChooseArchiveToSaveAs(const QString& folder, const QString& filter,
                                  bool& firstFilterSelected) override {
        saveAsFolder = folder;
        saveAsFilter = filter;
        firstFilterSelected = saveAsFirstFilter;
        return saveAsChoice;
    }
};

bool WaitForJob(const TMainForm& form) {
    return QTest::qWaitFor([&] { return !form.JobRunning(); }, kTimeout);
}

QTreeWidgetItem* RowNamed(const TMainForm& form, const QString& name) {
    for (int row = 0; row < form.ListViewFiles->topLevelItemCount(); ++row) {
        QTreeWidgetItem* item = form.ListViewFiles->topLevelItem(row);
        if (item->text(1) == name) return item;
    }
    return nullptr;
}

QStringList Column(const TMainForm& form, int column) {
    QStringList values;
    for (int row = 0; row < form.ListViewFiles->topLevelItemCount(); ++row) {
        values << form.ListViewFiles->topLevelItem(row)->text(column);
    }
    return values;
}

void ClickHeader(const TMainForm& form, int column) {
    QHeaderView* header = form.ListViewFiles->header();
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
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(centre), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &drop);
}

}  // namespace

class MainFormTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(folder_.isValid());
        const QString demo = folder_.filePath(QStringLiteral("demo.lgp"));
        sample_ = sample::WriteSampleArchive(demo.toStdString(), {.levels = kLevels});
        for (const sample::SampleLevel& level : sample_.levels) texts_ += level.texts;
    }

    void init() {
        // Every test edits and saves a copy of its own.
        path_ = folder_.filePath(QStringLiteral("levels.lgp"));
        other_ = folder_.filePath(QStringLiteral("other.lgp"));
        for (const QString& copy : {path_, other_}) {
            QFile::remove(copy);
            QVERIFY(QFile::copy(folder_.filePath(QStringLiteral("demo.lgp")), copy));
        }
    }

    void startsWithTheArchiveOnTheCommandLine() {
        const auto form = Open(path_);
        QVERIFY(form->Archive() != nullptr);
        const TLGPFile& archive = *form->Archive();
        QCOMPARE(form->windowTitle(), ProgramTitle() + QStringLiteral(" - ") + path_);
        QCOMPARE(form->ListViewFiles->headerItem()->text(1),
                 QStringLiteral("File (%1)").arg(archive.SubFiles.size()));
        QCOMPARE(form->ListViewFiles->topLevelItemCount(),
                 static_cast<int>(archive.SubFiles.size()));
        const QLocale locale;
        QCOMPARE(form->StatusBar1Panels[2]->text(),
                 QStringLiteral("%1 levels / %2 texts")
                     .arg(locale.toString(kLevels), locale.toString(texts_)));
        QCOMPARE(form->StatusBar1Panels[1]->text(), QStringLiteral("SQUARESOFT"));
        QVERIFY(form->StatusBar1Panels[0]->text().isEmpty());
        QVERIFY(form->QProgressBar1->isHidden());
        QVERIFY(form->isEnabled());
        QVERIFY(form->MenuItemSave->isEnabled());
        QVERIFY(form->MenuItemSaveAs->isEnabled());
        QVERIFY(form->ToolBarSpecialCharacters->isEnabled());
        QVERIFY(!form->MenuItemCompare->isEnabled());
        QVERIFY(!form->MenuItemFind->isEnabled());

        // Row 0 is selected and every row shows its sub-file.
        QCOMPARE(form->ListViewFiles->selectedItems().size(), 1);
        QCOMPARE(form->ListViewFiles->selectedItems().first(),
                 form->ListViewFiles->topLevelItem(0));
        QCOMPARE(form->CurrentSubFile(), archive.SubFiles[0].get());
        for (int row = 0; row < form->ListViewFiles->topLevelItemCount(); ++row) {
            const QTreeWidgetItem* item = form->ListViewFiles->topLevelItem(row);
            const TLGPSubFile& subFile = *archive.SubFiles[static_cast<std::size_t>(row)];
            QCOMPARE(item->text(0), QString::number(row + 1));
            QCOMPARE(item->text(1), QString::fromStdString(subFile.Name));
            QCOMPARE(item->text(2), QString::fromStdString(subFile.Description));
            QCOMPARE(item->text(3), lgp::IsLevel(subFile) ? QString::number(subFile.Texts.size())
                                                          : QStringLiteral("-"));
            QCOMPARE(item->foreground(2).color(), QColor(62, 88, 133));
            QCOMPARE(item->foreground(1).color(), QColor(Qt::black));
        }
        QCOMPARE(RowNamed(*form, QStringLiteral("maplist"))->text(2), QStringLiteral("-"));
    }

    void ignoresACommandLineThatNamesNoFile() {
        TestedMainForm form({folder_.filePath(QStringLiteral("missing.lgp"))});
        form.show();
        QVERIFY(!form.JobRunning());
        QVERIFY(form.Archive() == nullptr);
        QCOMPARE(form.windowTitle(), ProgramTitle());
        QVERIFY(form.MenuItemOpen->isEnabled());
        QVERIFY(!form.MenuItemSave->isEnabled());
        QVERIFY(!form.ToolBarSpecialCharacters->isEnabled());
        QCOMPARE(form.ListViewFiles->headerItem()->text(1), QStringLiteral("File"));
    }

    void editsAreStoredAtEveryKeystroke() {
        const auto form = Open(path_);
        TLGPSubFile* level = SelectLevelWithTexts(*form, 2);
        QVERIFY(level != nullptr);
        QCOMPARE(form->ListBoxTexts->count(), static_cast<int>(level->Texts.size()));
        QCOMPARE(form->ListBoxTexts->item(0)->text(), QStringLiteral("Text 1"));
        QCOMPARE(form->ListBoxTexts->currentRow(), 0);

        form->ListBoxTexts->setCurrentRow(1);
        const std::vector<std::uint8_t> original = level->Texts[1].Bytes;
        QCOMPARE(form->MemoText->toPlainText(),
                 editor_text::TaggedToEditor(text::DecodeText(original)));
        QCOMPARE(level->Texts[1].Bytes, original);

        form->MemoText->moveCursor(QTextCursor::End);
        std::vector<std::uint8_t> expected(original.begin(), original.end() - 1);
        for (const char typed : std::string("Hi!")) {
            QTest::keyClick(form->MemoText, typed);
            expected.push_back(text::CharacterCode(std::string(1, typed)));
            std::vector<std::uint8_t> stored = expected;
            stored.push_back(0xFF);
            QCOMPARE(level->Texts[1].Bytes, stored);
        }
        // A new line in the editor is the game's line break.
        QTest::keyClick(form->MemoText, Qt::Key_Return);
        expected.push_back(0xE7);
        expected.push_back(0xFF);
        QCOMPARE(level->Texts[1].Bytes, expected);
        QTest::keyClick(form->MemoText, Qt::Key_Backspace);
        expected.erase(expected.end() - 2);
        QCOMPARE(level->Texts[1].Bytes, expected);

        // The edit is pending against the saved text; the other texts are untouched.
        QCOMPARE(level->SavedTexts[1], original);
        QCOMPARE(level->Texts[0].Bytes, level->SavedTexts[0]);
        QVERIFY(TextsChanged(*level));
        QVERIFY(form->HasUnsavedChanges());

        // Ctrl+A selects the whole text; the edit stays where it was.
        QTest::keyClick(form->MemoText, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(form->MemoText->textCursor().selectedText().size(),
                 form->MemoText->toPlainText().size());

        // Going back to a text shows it as stored.
        form->ListBoxTexts->setCurrentRow(0);
        form->ListBoxTexts->setCurrentRow(1);
        QCOMPARE(editor_text::EditorToTagged(form->MemoText->document()->toRawText()),
                 text::DecodeText(level->Texts[1].Bytes));
    }

    void aLevelWithoutTextsAndATextWithoutWindows() {
        const auto form = Open(path_);
        const QString name = QString::fromLatin1(lgp::LevelNames()[kLevelWithoutTexts].data());
        QTreeWidgetItem* row = RowNamed(*form, name);
        QVERIFY(row != nullptr);
        form->ListViewFiles->setCurrentItem(row);
        QCOMPARE(form->CurrentSubFile()->Name, name.toStdString());
        QCOMPARE(row->text(3), QStringLiteral("0"));
        QCOMPARE(form->ListBoxTexts->count(), 0);
        QVERIFY(!form->ListBoxTexts->isEnabled());
        QVERIFY(!form->MemoText->isEnabled());
        QVERIFY(form->MemoText->toPlainText().isEmpty());
        ExpectNoWindow(*form);

        // A file that is not a level: nothing to edit either.
        form->ListViewFiles->setCurrentItem(RowNamed(*form, QStringLiteral("maplist")));
        QCOMPARE(form->CurrentSubFile()->Name, std::string("maplist"));
        QCOMPARE(form->ListBoxTexts->count(), 0);
        QVERIFY(!form->MemoText->isEnabled());
        ExpectNoWindow(*form);

        // Texts with and without windows.
        bool sawWindowless = false;
        bool sawWindowed = false;
        for (const auto& subFile : form->Archive()->SubFiles) {
            if (!lgp::IsLevel(*subFile) || subFile->Texts.empty()) continue;
            form->ListViewFiles->setCurrentItem(
                RowNamed(*form, QString::fromStdString(subFile->Name)));
            for (std::size_t text = 0; text < subFile->Texts.size(); ++text) {
                form->ListBoxTexts->setCurrentRow(static_cast<int>(text));
                const auto windows = static_cast<int>(subFile->Texts[text].Windows.size());
                if (windows == 0) {
                    sawWindowless = true;
                    ExpectNoWindow(*form);
                } else {
                    sawWindowed = true;
                    QVERIFY(form->RzSpinnerWindows->isEnabled());
                    QCOMPARE(form->RzSpinnerWindows->minimum(), 1);
                    QCOMPARE(form->RzSpinnerWindows->maximum(), windows);
                    QCOMPARE(form->RzSpinnerWindows->value(), 1);
                    QVERIFY(form->PngSpeedButtonWindows->isEnabled());
                }
            }
        }
        QVERIFY(sawWindowless);
        QVERIFY(sawWindowed);
    }

    void sortsByEachColumn() {
        const auto form = Open(path_);
        form->ListViewFiles->setCurrentItem(form->ListViewFiles->topLevelItem(3));
        TLGPSubFile* selected = form->CurrentSubFile();
        const int count = form->ListViewFiles->topLevelItemCount();

        // "#": the first click sorts ascending (as listed), the second descending.
        ClickHeader(*form, 0);
        QCOMPARE(Column(*form, 0).first(), QStringLiteral("1"));
        ClickHeader(*form, 0);
        QStringList descending;
        for (int index = count; index >= 1; --index) descending << QString::number(index);
        QCOMPARE(Column(*form, 0), descending);

        // Texts: "-" before 0, then by number.
        ClickHeader(*form, 3);
        const QStringList texts = Column(*form, 3);
        const auto firstNumber =
            std::find_if(texts.begin(), texts.end(), [](const QString& t) { return t != "-"; });
        QVERIFY(firstNumber != texts.begin());
        QCOMPARE(*firstNumber, QStringLiteral("0"));
        QVERIFY(std::all_of(firstNumber, texts.end(), [](const QString& t) { return t != "-"; }));
        QVERIFY(std::is_sorted(firstNumber, texts.end(), [](const QString& a, const QString& b) {
            return a.toInt() < b.toInt();
        }));

        // File and Description by letters, ignoring case; a second click reverses.
        for (const int column : {1, 2}) {
            ClickHeader(*form, column);
            QStringList values = Column(*form, column);
            QVERIFY(std::is_sorted(values.begin(), values.end(), [](const auto& a, const auto& b) {
                return TFileListItem::CompareValues(a, b) < 0;
            }));
            ClickHeader(*form, column);
            values = Column(*form, column);
            QVERIFY(std::is_sorted(values.begin(), values.end(), [](const auto& a, const auto& b) {
                return TFileListItem::CompareValues(a, b) > 0;
            }));
        }
        // Sorting keeps the selection.
        QCOMPARE(form->CurrentSubFile(), selected);
        QCOMPARE(form->ListViewFiles->selectedItems().size(), 1);
    }

    void onlyLevelsOnAndOff() {
        const auto form = Open(path_);
        const int all = form->ListViewFiles->topLevelItemCount();
        form->MenuItemOnlyLevels->trigger();
        QVERIFY(form->OnlyLevels());
        QCOMPARE(form->ListViewFiles->topLevelItemCount(), kLevels);
        QCOMPARE(form->ListViewFiles->headerItem()->text(1), QStringLiteral("File (6)"));
        QCOMPARE(form->ListViewFiles->selectedItems().first(),
                 form->ListViewFiles->topLevelItem(0));
        for (int row = 0; row < kLevels; ++row) {
            const QTreeWidgetItem* item = form->ListViewFiles->topLevelItem(row);
            // "#" keeps the table-of-contents index.
            const TLGPSubFile& subFile =
                *form->Archive()->SubFiles[static_cast<std::size_t>(item->text(0).toInt() - 1)];
            QCOMPARE(item->text(1), QString::fromStdString(subFile.Name));
            QVERIFY(lgp::IsLevel(subFile));
        }

        // Choosing the checked item again changes nothing, not even the selection.
        form->ListViewFiles->setCurrentItem(form->ListViewFiles->topLevelItem(4));
        form->MenuItemOnlyLevels->trigger();
        QVERIFY(form->MenuItemOnlyLevels->isChecked());
        QCOMPARE(form->ListViewFiles->selectedItems().first(),
                 form->ListViewFiles->topLevelItem(4));

        form->MenuItemAllFiles->trigger();
        QVERIFY(!form->OnlyLevels());
        QCOMPARE(form->ListViewFiles->topLevelItemCount(), all);
        QCOMPARE(form->ListViewFiles->headerItem()->text(1), QStringLiteral("File (%1)").arg(all));
        QCOMPARE(form->ListViewFiles->selectedItems().first(),
                 form->ListViewFiles->topLevelItem(0));
    }

    void theChoiceOfOnlyLevelsHoldsForTheNextArchive() {
        TestedMainForm form(QStringList{});
        form.show();
        form.MenuItemOnlyLevels->trigger();
        form.openChoice = path_;
        form.MenuItemOpen->trigger();
        QVERIFY(WaitForJob(form));
        QCOMPARE(form.ListViewFiles->topLevelItemCount(), kLevels);
    }

    void tagButtonsInsertTheirCaption() {
        const auto form = Open(path_);
        QCOMPARE(form->CharacterButtons.size(), 23 + 3 + 10 + 9 + 3);
        QToolButton* cloud = form->findChild<QToolButton*>(QStringLiteral("ToolButtonCloud"));
        QToolButton* red = form->findChild<QToolButton*>(QStringLiteral("ToolButtonColorRed"));
        QToolButton* placeholder = form->CharacterButtons.first();
        QVERIFY(cloud != nullptr && red != nullptr);
        QCOMPARE(cloud->toolTip(), QStringLiteral("Cloud"));
        QCOMPARE(placeholder->text(), QStringLiteral("%1"));

        // Without a selected text the buttons do nothing.
        form->ListViewFiles->setCurrentItem(RowNamed(*form, QStringLiteral("maplist")));
        cloud->click();
        QVERIFY(form->MemoText->toPlainText().isEmpty());

        TLGPSubFile* level = SelectLevelWithTexts(*form, 1);
        QVERIFY(level != nullptr);
        const std::vector<std::uint8_t> original = level->Texts[0].Bytes;
        form->MemoText->moveCursor(QTextCursor::Start);
        red->click();
        QVERIFY(form->MemoText->toPlainText().startsWith(QStringLiteral("{RED}")));
        std::vector<std::uint8_t> expected = original;
        expected.insert(expected.begin(), {0xFE, 0xD4});
        QCOMPARE(level->Texts[0].Bytes, expected);

        // A selection is replaced; the drop-down's tags insert theirs.
        QTextCursor cursor = form->MemoText->textCursor();
        cursor.setPosition(0);
        cursor.setPosition(5, QTextCursor::KeepAnchor);
        form->MemoText->setTextCursor(cursor);
        cloud->click();
        expected.erase(expected.begin(), expected.begin() + 2);
        expected.insert(expected.begin(), 0xEA);
        QCOMPARE(level->Texts[0].Bytes, expected);
        QAction* pause = form->PopupMenu1->actions().at(1);
        QCOMPARE(pause->text(), QStringLiteral("{PAUSE 1}"));
        pause->trigger();
        expected.insert(expected.begin() + 1, {0xFE, 0xDD, 0x0A, 0x00});
        QCOMPARE(level->Texts[0].Bytes, expected);
        QCOMPARE(form->MemoText->toPlainText().left(16), QStringLiteral("{CLOUD}{PAUSE 1}"));
    }

    void saveWritesTheEditAndReopeningShowsIt() {
        const auto form = Open(path_);
        TLGPSubFile* level = SelectLevelWithTexts(*form, 1);
        QVERIFY(level != nullptr);
        const std::string name = level->Name;
        form->MemoText->moveCursor(QTextCursor::End);
        QTest::keyClicks(form->MemoText, QStringLiteral(" Saved."));
        const std::vector<std::uint8_t> edited = level->Texts[0].Bytes;

        // While the job reports, the window is disabled and says what it does.
        QStringList statusWhileSaving;
        bool enabledWhileSaving = false;
        connect(form->QProgressBar1, &QProgressBar::valueChanged, form.get(), [&] {
            statusWhileSaving << form->StatusBar1Panels[0]->text();
            enabledWhileSaving |= form->isEnabled();
        });
        form->MenuItemSave->trigger();
        QVERIFY(WaitForJob(*form));
        QVERIFY(form->errors.isEmpty());
        QVERIFY(!statusWhileSaving.isEmpty());
        QCOMPARE(statusWhileSaving.last(), QStringLiteral("File saving..."));
        QVERIFY(!enabledWhileSaving);
        QVERIFY(form->isEnabled());
        QVERIFY(form->StatusBar1Panels[0]->text().isEmpty());
        QVERIFY(!form->HasUnsavedChanges());
        QCOMPARE(level->SavedTexts[0], edited);

        // Opening the file again (no question: nothing is pending) shows the edit.
        form->OpenArchive(path_);
        QVERIFY(WaitForJob(*form));
        QVERIFY(form->questions.isEmpty());
        form->ListViewFiles->setCurrentItem(RowNamed(*form, QString::fromStdString(name)));
        QCOMPARE(form->CurrentSubFile()->Texts[0].Bytes, edited);
        QVERIFY(form->MemoText->toPlainText().endsWith(QStringLiteral(" Saved.")));
    }

    void saveAsNamesTheFileByTheChosenFilter() {
        const auto form = Open(path_);
        TLGPSubFile* level = SelectLevelWithTexts(*form, 1);
        QVERIFY(level != nullptr);
        QTest::keyClicks(form->MemoText, QStringLiteral("New "));

        struct Case {
            QString chosen;
            bool firstFilter;
            QString written;
        };
        const QList<Case> cases = {
            {folder_.filePath(QStringLiteral("copy")), true, QStringLiteral("copy.lgp")},
            {folder_.filePath(QStringLiteral("copy.LGP")), true, QStringLiteral("copy.LGP")},
            {folder_.filePath(QStringLiteral("copy.bin")), false, QStringLiteral("copy.bin")},
            {folder_.filePath(QStringLiteral("copy.txt")), true, QStringLiteral("copy.txt.lgp")},
        };
        for (const Case& saveAs : cases) {
            const QString written = folder_.filePath(saveAs.written);
            QFile::remove(written);
            form->saveAsChoice = saveAs.chosen;
            form->saveAsFirstFilter = saveAs.firstFilter;
            form->MenuItemSaveAs->trigger();
            QVERIFY(WaitForJob(*form));
            QVERIFY2(QFile::exists(written), qPrintable(written));
            QCOMPARE(form->saveAsFolder, folder_.path());
            QCOMPARE(form->saveAsFilter, QStringLiteral("LGP files (*.lgp);;All files (*)"));
            TLGPFile copy;
            LoadArchive(copy, written.toStdString());
            const auto found =
                std::find_if(copy.SubFiles.begin(), copy.SubFiles.end(),
                             [&](const auto& subFile) { return subFile->Name == level->Name; });
            QVERIFY(found != copy.SubFiles.end());
            QCOMPARE((*found)->Texts[0].Bytes, level->Texts[0].Bytes);
        }
        QVERIFY(!QFile::exists(folder_.filePath(QStringLiteral("copy.LGP.lgp"))));
        QVERIFY(!QFile::exists(folder_.filePath(QStringLiteral("copy.bin.lgp"))));
        // The archive stays the opened file, its edit still pending.
        QCOMPARE(QString::fromStdString(form->Archive()->FileName), path_);
        QVERIFY(form->HasUnsavedChanges());
        QCOMPARE(form->windowTitle(), ProgramTitle() + QStringLiteral(" - ") + path_);

        // A cancelled dialog saves nothing.
        form->saveAsChoice.clear();
        form->MenuItemSaveAs->trigger();
        QVERIFY(!form->JobRunning());
    }

    void anInvalidFileLeavesNoArchive() {
        const QString invalid = folder_.filePath(QStringLiteral("invalid.lgp"));
        QFile file(invalid);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not an archive");
        file.close();

        const auto form = Open(invalid);
        QCOMPARE(form->errors, QStringList{QStringLiteral("Invalid file.")});
        QVERIFY(form->Archive() == nullptr);
        QVERIFY(form->CurrentSubFile() == nullptr);
        QVERIFY(form->isEnabled());
        QVERIFY(form->MenuItemOpen->isEnabled());
        QVERIFY(form->ToolButtonOpen->isEnabled());
        QVERIFY(!form->MenuItemSave->isEnabled());
        QVERIFY(!form->ToolBarSpecialCharacters->isEnabled());
        QVERIFY(!form->ListViewFiles->isEnabled());
        QVERIFY(!form->MemoText->isEnabled());
        QCOMPARE(form->ListViewFiles->topLevelItemCount(), 0);
        QVERIFY(form->StatusBar1Panels[0]->text().isEmpty());
        QVERIFY(form->QProgressBar1->isHidden());
        QCOMPARE(form->QProgressBar1->value(), 0);
        QCOMPARE(form->windowTitle(), ProgramTitle());

        // "Open..." still works.
        form->openChoice = path_;
        form->MenuItemOpen->trigger();
        QVERIFY(WaitForJob(*form));
        QVERIFY(form->Archive() != nullptr);
        QVERIFY(form->ListViewFiles->topLevelItemCount() > 0);
        QCOMPARE(form->errors.size(), 1);
    }

    void anInvalidFileAfterAnArchiveDropsTheOldOne() {
        const auto form = Open(path_);
        form->OpenArchive(folder_.filePath(QStringLiteral("missing.lgp")));
        QVERIFY(WaitForJob(*form));
        QCOMPARE(form->errors, QStringList{QStringLiteral("Invalid file.")});
        QVERIFY(form->Archive() == nullptr);
        QCOMPARE(form->windowTitle(), ProgramTitle());
        QVERIFY(form->StatusBar1Panels[1]->text().isEmpty());
        QVERIFY(form->StatusBar1Panels[2]->text().isEmpty());
    }

    void dropsOpenOneFileOnly() {
        const auto form = Open(path_);
        DropUrls(*form, {QUrl::fromLocalFile(other_), QUrl::fromLocalFile(path_)});
        QVERIFY(!form->JobRunning());
        QCOMPARE(form->windowTitle(), ProgramTitle() + QStringLiteral(" - ") + path_);

        DropUrls(*form, {QUrl::fromLocalFile(other_)});
        QVERIFY(WaitForJob(*form));
        QCOMPARE(form->windowTitle(), ProgramTitle() + QStringLiteral(" - ") + other_);
        QVERIFY(form->errors.isEmpty());

        // On the editor too: the file opens, its path is not typed into the text.
        SelectLevelWithTexts(*form, 1);
        DropUrls(*form->MemoText->viewport(), {QUrl::fromLocalFile(path_)});
        QVERIFY(WaitForJob(*form));
        QCOMPARE(form->windowTitle(), ProgramTitle() + QStringLiteral(" - ") + path_);
        QVERIFY(!form->HasUnsavedChanges());
        QVERIFY(form->questions.isEmpty());
    }

    void unsavedChangesAreAskedAbout() {
        const auto form = Open(path_);
        TLGPSubFile* level = SelectLevelWithTexts(*form, 1);
        QVERIFY(level != nullptr);
        const std::string name = level->Name;
        QTest::keyClicks(form->MemoText, QStringLiteral("Kept "));
        const std::vector<std::uint8_t> edited = level->Texts[0].Bytes;
        const QString question = QStringLiteral("Save changes to levels.lgp?");

        // Cancel: the archive and its edit stay.
        form->answers = {QMessageBox::Cancel};
        form->OpenArchive(other_);
        QCOMPARE(form->questions, QStringList{question});
        QVERIFY(!form->JobRunning());
        QCOMPARE(form->CurrentSubFile(), level);
        QVERIFY(form->HasUnsavedChanges());
        QVERIFY(!form->close());
        QVERIFY(form->isVisible());
        form->MenuItemExit->trigger();
        QCOMPARE(form->questions.size(), 3);

        // Save: the edit is written, then the other archive opens.
        form->answers = {QMessageBox::Save};
        form->OpenArchive(other_);
        QVERIFY(QTest::qWaitFor(
            [&] {
                return !form->JobRunning() && form->Archive() != nullptr &&
                       form->Archive()->FileName == other_.toStdString();
            },
            kTimeout));
        QVERIFY(form->errors.isEmpty());
        QCOMPARE(form->windowTitle(), ProgramTitle() + QStringLiteral(" - ") + other_);
        TLGPFile saved;
        LoadArchive(saved, path_.toStdString());
        for (const auto& subFile : saved.SubFiles) {
            if (subFile->Name == name) QCOMPARE(subFile->Texts[0].Bytes, edited);
        }

        // Discard: closing goes ahead without saving.
        SelectLevelWithTexts(*form, 1);
        QTest::keyClicks(form->MemoText, QStringLiteral("Lost "));
        form->answers = {QMessageBox::Discard};
        QVERIFY(form->close());
        QCOMPARE(form->questions.last(), QStringLiteral("Save changes to other.lgp?"));
        TLGPFile untouched;
        LoadArchive(untouched, other_.toStdString());
        QVERIFY(std::ranges::none_of(untouched.SubFiles, [](const auto& subFile) {
            return std::ranges::any_of(subFile->Texts, [](const TLevelText& text) {
                return text::DecodeText(text.Bytes).find("Lost") != std::string::npos;
            });
        }));
    }

    void aFailedSaveGoesNoFurther() {
        QVERIFY(QDir(folder_.path()).mkpath(QStringLiteral("gone")));
        const QString doomed = folder_.filePath(QStringLiteral("gone/levels.lgp"));
        QVERIFY(QFile::copy(path_, doomed));
        const auto form = Open(doomed);
        TLGPSubFile* level = SelectLevelWithTexts(*form, 1);
        QVERIFY(level != nullptr);
        QTest::keyClicks(form->MemoText, QStringLiteral("Pending "));
        // The save writes its temporary file beside the archive: that folder is gone.
        QVERIFY(QDir(folder_.filePath(QStringLiteral("gone"))).removeRecursively());

        form->answers = {QMessageBox::Save};
        form->OpenArchive(other_);
        QVERIFY(WaitForJob(*form));
        QTest::qWait(50);
        QCOMPARE(form->errors, QStringList{QStringLiteral("An error occured during file saving.")});
        QVERIFY(!form->JobRunning());
        QCOMPARE(QString::fromStdString(form->Archive()->FileName), doomed);
        QCOMPARE(form->CurrentSubFile(), level);
        QVERIFY(form->HasUnsavedChanges());
        QVERIFY(form->isEnabled());
    }

    void countsUseTheLocalesThousandsSeparator() {
        const auto form = Open(path_);
        TLGPSubFile* level = SelectLevelWithTexts(*form, 1);
        QVERIFY(level != nullptr);
        level->Texts.resize(level->Texts.size() + 1000);
        const QString total = QString::number(texts_ + 1000);
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        form->UpdateCounts();
        QCOMPARE(form->StatusBar1Panels[2]->text(),
                 QStringLiteral("6 levels / %1,%2 texts").arg(total.left(1), total.mid(1)));
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        form->UpdateCounts();
        QCOMPARE(form->StatusBar1Panels[2]->text(),
                 QStringLiteral("6 levels / %1.%2 texts").arg(total.left(1), total.mid(1)));
        QLocale::setDefault(QLocale::system());
    }

    void closingWithSaveClosesAfterTheSave() {
        const auto form = Open(path_);
        SelectLevelWithTexts(*form, 1);
        QTest::keyClicks(form->MemoText, QStringLiteral("Closing "));
        form->answers = {QMessageBox::Save};
        QVERIFY(!form->close());
        QVERIFY(QTest::qWaitFor([&] { return !form->isVisible(); }, kTimeout));
        QCOMPARE(form->questions.size(), 1);
        QVERIFY(!form->HasUnsavedChanges());
    }

    void textsListMarksComparedTextsInRed() {
        const auto form = Open(path_);
        TLGPSubFile* level = SelectLevelWithTexts(*form, 2);
        QVERIFY(level != nullptr);
        level->CompareMarks.assign(level->Texts.size(), 0);
        level->CompareMarks[0] = 1;
        QCOMPARE(form->ListBoxTexts->visualItemRect(form->ListBoxTexts->item(0)).height(), 13);
        form->ListBoxTexts->setCurrentRow(-1);
        const QImage image = form->ListBoxTexts->viewport()->grab().toImage();
        const auto redPixels = [&](int row) {
            int red = 0;
            const QRect rect = form->ListBoxTexts->visualItemRect(form->ListBoxTexts->item(row));
            for (int y = rect.top(); y <= rect.bottom(); ++y) {
                for (int x = rect.left() + 23; x <= rect.right(); ++x) {
                    const QColor colour = image.pixelColor(x, y);
                    if (colour.red() > 200 && colour.green() < 80 && colour.blue() < 80) ++red;
                }
            }
            return red;
        };
        QVERIFY(redPixels(0) > 0);
        QCOMPARE(redPixels(1), 0);
    }

    void textPreviewFollowsTheTextItsWindowAndEdits() {
        const auto form = Open(path_);
        // A text shown by two windows, and one shown by none.
        TLGPSubFile* level = nullptr;
        int twoWindows = -1;
        int noWindow = -1;
        for (const auto& subFile : form->Archive()->SubFiles) {
            if (!lgp::IsLevel(*subFile)) continue;
            for (std::size_t text = 0; text < subFile->Texts.size(); ++text) {
                const std::size_t windows = subFile->Texts[text].Windows.size();
                if (windows >= 2 && twoWindows < 0) twoWindows = static_cast<int>(text);
                if (windows == 0 && noWindow < 0) noWindow = static_cast<int>(text);
            }
            if (twoWindows >= 0 && noWindow >= 0) {
                level = subFile.get();
                break;
            }
            twoWindows = noWindow = -1;
        }
        QVERIFY(level != nullptr);
        form->ListViewFiles->setCurrentItem(RowNamed(*form, QString::fromStdString(level->Name)));
        const std::vector<TWindow*>& windows = level->Texts[twoWindows].Windows;
        windows[0]->Width = 150;
        windows[0]->Height = 41;
        windows[1]->Width = 200;
        windows[1]->Height = 73;
        const auto shown = [&] { return form->ImageTextPreview->pixmap().size(); };

        form->ListBoxTexts->setCurrentRow(twoWindows);
        QCOMPARE(shown(), QSize(150, 41));
        QCOMPARE(form->ImageTextPreview->size(), QSize(150, 41));
        form->RzSpinnerWindows->setValue(2);
        QCOMPARE(shown(), QSize(200, 73));

        // Without a window the height follows the lines, at every keystroke.
        form->ListBoxTexts->setCurrentRow(noWindow);
        const int lines = static_cast<int>(form->MemoText->document()->blockCount());
        QCOMPARE(shown(), QSize(320, 9 + 16 * lines));
        form->MemoText->moveCursor(QTextCursor::End);
        QTest::keyClick(form->MemoText, Qt::Key_Return);
        QCOMPARE(shown(), QSize(320, 9 + 16 * (lines + 1)));

        // What is drawn is the text in the window's colours: the default top left colour
        // shows inside the frame near the top left corner.
        const QImage picture = form->ImageTextPreview->pixmap().toImage();
        QVERIFY(qAbs(qBlue(picture.pixel(3, 3)) - 176) < 12);

        // Hidden, the preview is not drawn; shown again, it is.
        form->MenuItemDisplayTextPreview->trigger();
        QVERIFY(form->ImageTextPreview->isHidden());
        QVERIFY(form->ImageTextPreview->pixmap().isNull());
        QTest::keyClick(form->MemoText, Qt::Key_A);
        QVERIFY(form->ImageTextPreview->pixmap().isNull());
        form->MenuItemDisplayTextPreview->trigger();
        QVERIFY(!form->ImageTextPreview->isHidden());
        QCOMPARE(shown(), QSize(320, 9 + 16 * (lines + 1)));

        // A window of width 0 shows no picture.
        windows[0]->Width = 0;
        form->ListBoxTexts->setCurrentRow(twoWindows);
        QVERIFY(form->ImageTextPreview->pixmap().isNull());

        // A level without texts, or a file that is not a level, shows none either.
        form->ListBoxTexts->setCurrentRow(noWindow);
        QVERIFY(!form->ImageTextPreview->pixmap().isNull());
        form->ListViewFiles->setCurrentItem(RowNamed(
            *form, QString::fromLatin1(lgp::LevelNames()[kLevelWithoutTexts].data())));
        QVERIFY(form->ImageTextPreview->pixmap().isNull());
        form->ListViewFiles->setCurrentItem(RowNamed(*form, QString::fromStdString(level->Name)));
        QVERIFY(!form->ImageTextPreview->pixmap().isNull());
        form->ListViewFiles->setCurrentItem(RowNamed(*form, QStringLiteral("maplist")));
        QVERIFY(form->ImageTextPreview->pixmap().isNull());
    }

    void previewsAndTheAboutBox() {
        TestedMainForm form(QStringList{});
        form.show();
        // Until settings are read, the small level preview.
        QVERIFY(form.MenuItemLevelPreviewSizes[0]->isChecked());
        QCOMPARE(form.GroupBoxLevelPreview->height(), 77);
        QCOMPARE(form.GroupBoxTextPreview->height(), 77);
        form.MenuItemLevelPreviewSizes[3]->trigger();
        QCOMPARE(form.GroupBoxLevelPreview->height(), 227);
        QCOMPARE(form.GroupBoxTextPreview->height(), 227);
        QCOMPARE(form.ImageLevelPreview->maximumHeight(), 200);
        QVERIFY(form.MenuItemDisplayTextPreview->isChecked());
        form.MenuItemDisplayTextPreview->trigger();
        QVERIFY(form.ImageTextPreview->isHidden());

        QCOMPARE(form.AboutForm->windowTitle(), QStringLiteral("About..."));
        QCOMPARE(form.AboutForm->LabelVersion->text(), ProgramTitle());
        QVERIFY(form.AboutForm->LabelBy->text().startsWith(QStringLiteral("by ")));
        QVERIFY(!form.AboutForm->ImageProgram->pixmap().isNull());
        QCOMPARE(form.AboutForm->size(), QSize(300, 150));
    }

private:
    std::unique_ptr<TestedMainForm> Open(const QString& path) {
        auto form = std::make_unique<TestedMainForm>(QStringList{path});
        form->show();
        if (!WaitForJob(*form)) qWarning("the open job did not end");
        return form;
    }

    // Selects the first level with at least `texts` texts and returns it, or none.
    static TLGPSubFile* SelectLevelWithTexts(TMainForm& form, std::size_t texts) {
        for (const auto& subFile : form.Archive()->SubFiles) {
            if (!lgp::IsLevel(*subFile) || subFile->Texts.size() < texts) continue;
            form.ListViewFiles->setCurrentItem(
                RowNamed(form, QString::fromStdString(subFile->Name)));
            return form.CurrentSubFile() == subFile.get() ? subFile.get() : nullptr;
        }
        return nullptr;
    }

    static void ExpectNoWindow(const TMainForm& form) {
        QVERIFY(!form.RzSpinnerWindows->isEnabled());
        QCOMPARE(form.RzSpinnerWindows->minimum(), -1);
        QCOMPARE(form.RzSpinnerWindows->maximum(), -1);
        QCOMPARE(form.RzSpinnerWindows->value(), -1);
        QVERIFY(!form.PngSpeedButtonWindows->isEnabled());
    }

    QTemporaryDir folder_;
    sample::SampleArchive sample_;
    int texts_ = 0;
    QString path_;
    QString other_;
};

QTEST_MAIN(MainFormTest)
#include "main_form_test.moc"
