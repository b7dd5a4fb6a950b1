#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QtTest>

#include "jobs/last_comparison.h"
#include "jobs/qt_strings.h"
#include "lgp/archive_counts.h"
#include "lgp/archive_loader.h"
#include "lgp/lgp_file.h"
#include "platform/archive_lock.h"
#include "sample/sample_archive.h"
#include "tests/lgp/damaged_archive.h"
#include "tests/ui/answered_main_form.h"
#include "tests/ui/context_menu.h"
#include "tests/ui/sample_facts.h"
#include "text/text_decoder.h"
#include "ui/archive_session.h"
#include "ui/export_mod_form.h"
#include "ui/text_editor_pane.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using Command = TMainMenu::Command;

// The answered main window that also answers the session's questions, from `answers` (No when
// none is left), "Save changes?" with `saveChangesAnswer`, and the mod folder dialog with
// `exportChoice`. Questions are recorded, with the listed levels as `questionDetails`.
class TestedMainForm : public AnsweredMainForm {
public:
    TestedMainForm(QStringList arguments, TEditorPaths paths)
        : AnsweredMainForm(std::move(arguments), std::move(paths)) {
        session().setQuestions({[this](const QString& question, const QString& levels) {
                                    questionDetails << levels;
                                    return answer(question);
                                },
                                [this](const QString& question) { return answer(question); }});
    }

    QStringList questions;
    QStringList questionDetails;
    QList<bool> answers;
    QMessageBox::StandardButton saveChangesAnswer = QMessageBox::Cancel;
    std::optional<TModExportRequest> exportChoice;
    QString exportDefault;

protected:
    QMessageBox::StandardButton askSaveChanges(const QString& question) override {
        questions << question;
        return saveChangesAnswer;
    }
    std::optional<TModExportRequest> chooseModExport(TExportModForm&,
                                                     const QString& original) override {
        exportDefault = original;
        return exportChoice;
    }
    bool askYesNo(const QString& question) override { return answer(question); }

private:
    bool answer(const QString& question) {
        questions << question;
        return !answers.isEmpty() && answers.takeFirst();
    }
};

void Select(TMainForm& form, int subFile) { form.session().selectSubFile(subFile); }

void Type(TMainForm& form, int subFile, const QString& text) {
    Select(form, subFile);
    Editor(form)->moveCursor(QTextCursor::Start);
    QTest::keyClicks(Editor(form), text);
}

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

// The stored bytes of each sub-file, by name.
std::map<std::string, Bytes> StoredFiles(const QString& path) {
    TLGPFile archive;
    archive.ReadTableOfContents(path.toStdString());
    std::map<std::string, Bytes> files;
    for (const auto& subFile : archive.SubFiles)
        files[subFile->Name] = archive.ReadStoredData(*subFile);
    return files;
}

std::size_t U16(const Bytes& bytes, std::size_t at) { return bytes[at] | bytes[at + 1] << 8; }
std::size_t U32(const Bytes& bytes, std::size_t at) {
    return U16(bytes, at) | U16(bytes, at + 2) << 16;
}

void WriteBytes(const QString& path, const Bytes& bytes) {
    WriteFile(path, QByteArray(reinterpret_cast<const char*>(bytes.data()),
                               static_cast<qsizetype>(bytes.size())));
}

// A table of rows of the comparison's result window for equal counts and no difference.
QStringList SameCounts(int texts, int windowedTexts, int windows) {
    const QLocale locale;
    return {QStringLiteral("%1 texts | %1 texts | 0 | 0.00 %").arg(locale.toString(texts)),
            QStringLiteral("%1 windowed texts | %1 windowed texts | 0 | 0.00 %")
                .arg(locale.toString(windowedTexts)),
            QStringLiteral("%1 windows | %1 windows | 0 | 0.00 %").arg(locale.toString(windows))};
}

// The first word of at least three letters of a tagged text, outside its tags.
QRegularExpressionMatch FirstWord(QString tagged) {
    tagged.replace(QRegularExpression(QStringLiteral("\\{[^}]*\\}")), QStringLiteral(" "));
    return QRegularExpression(QStringLiteral("(?<![A-Za-z'])[A-Za-z]{3,}(?![A-Za-z'])"))
        .match(tagged);
}

// The files in a folder and its subfolders, by path inside it.
QStringList FolderFiles(const QString& folder) {
    QStringList files;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) files << QDir(folder).relativeFilePath(it.next());
    files.sort();
    return files;
}

}  // namespace

class MainFormArchiveTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QVERIFY(folder_.isValid());
        demo_ = folder_.filePath(QStringLiteral("demo.lgp"));
        sample_ = sample::WriteSampleArchive(demo_.toStdString(), {.levels = 6});
        // Three levels with texts, the second with its texts at the end of its script and its
        // second text shown in a window.
        const auto pick = [this](const std::function<bool(const sample::SampleLevel&)>& wanted) {
            for (const int row : sample_facts::LevelRows(sample_)) {
                const sample::SampleLevel& level = *sample_facts::LevelAt(sample_, row);
                if (row != first_ && row != second_ && level.texts > 0 && wanted(level)) return row;
            }
            return -1;
        };
        second_ = pick([](const sample::SampleLevel& level) {
            return level.layout == sample::TextLayout::Texts && level.texts >= 2 &&
                   level.textWindows[1] > 0;
        });
        first_ = pick([](const sample::SampleLevel&) { return true; });
        third_ = pick([](const sample::SampleLevel&) { return true; });
        QVERIFY(first_ >= 0 && second_ >= 0 && third_ >= 0);
        // The first cannot be read, the second's texts are read but its text list is damaged.
        WriteBytes(folder_.filePath(QStringLiteral("damaged.orig")),
                   lgp_test::DamagedCopy(demo_.toStdString(),
                                         {{Name(first_), lgp_test::LevelDamage::Unreadable},
                                          {Name(second_), lgp_test::LevelDamage::TextPastEnd}}));
        TLGPFile read;
        lgp::LoadArchive(read, folder_.filePath(QStringLiteral("damaged.orig")).toStdString(), {},
                         0, lgp::DamagedLevels::Keep);
        QVERIFY(read.SubFile(first_).Unreadable);
        QVERIFY(!read.SubFile(second_).Unreadable && !read.SubFile(second_).Damage.empty());
        damagedStored_ = StoredFiles(folder_.filePath(QStringLiteral("damaged.orig")));
        WriteBytes(folder_.filePath(QStringLiteral("unreadable.orig")),
                   lgp_test::DamagedCopy(demo_.toStdString(),
                                         {{Name(first_), lgp_test::LevelDamage::Unreadable}}));
    }

    void init() {
        path_ = folder_.filePath(QStringLiteral("levels.lgp"));
        other_ = folder_.filePath(QStringLiteral("other.lgp"));
        damaged_ = folder_.filePath(QStringLiteral("damaged.lgp"));
        unreadable_ = folder_.filePath(QStringLiteral("unreadable.lgp"));
        for (const auto& [copy, from] :
             {std::pair{path_, demo_},
              {other_, demo_},
              {damaged_, folder_.filePath(QStringLiteral("damaged.orig"))},
              {unreadable_, folder_.filePath(QStringLiteral("unreadable.orig"))}}) {
            QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
            QFile::remove(copy);
            QVERIFY(QFile::copy(from, copy));
            QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
        }
        settings_ = std::make_unique<QTemporaryDir>();
    }

    // The question's buttons say what they do, in the language file's words, and the levels
    // with their reasons show in the box itself.
    void theDamagedLevelsQuestionShowsItsButtonsAndReasons() {
        TMainForm form({}, TEditorPaths::inFolder(settings_->path()));
        form.show();
        QList<ShownBox> shown;
        AnswerBoxes({QMessageBox::No, QMessageBox::Ok}, shown);
        form.OpenArchive(damaged_);
        QVERIFY(WaitForJob(form));
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[0].text,
                 QStringLiteral("1 level could not be read. Open the archive with it read-only?"));
        QVERIFY(shown[0].informativeText.startsWith(jobs::fromWindows1252(Name(first_)) + QStringLiteral(": ")));
        shown[0].buttons.sort();
        QCOMPARE(shown[0].buttons, (QStringList{"Cancel", "Open read-only"}));
        QVERIFY(form.session().archive() == nullptr);
        // The invalid file's message follows, its reason in the box's main text.
        QCOMPARE(shown[1].text, QStringLiteral("Invalid file."));
        QVERIFY(shown[1].informativeText.startsWith(damaged_));
    }

    void aDamagedArchiveIsAskedAboutAndOpensReadOnly() {
        const auto form = open(path_);
        const QString question =
            QStringLiteral("1 level could not be read. Open the archive with it read-only?");
        // Each level is listed with the reason the loader gives.
        TLGPFile read;
        lgp::LoadArchive(read, damaged_.toStdString(), {}, 0, lgp::DamagedLevels::Keep);
        const QString reason =
            QString::fromStdString(Name(first_) + ": " + read.SubFile(first_).Damage);

        // No: the open fails as an invalid file, and the archive open before stays.
        form->OpenArchive(damaged_);
        QVERIFY(WaitForJob(*form));
        QCOMPARE(form->questions, QStringList{question});
        QCOMPARE(form->questionDetails, QStringList{reason});
        QCOMPARE(form->errors, QStringList{QStringLiteral("Invalid file.")});
        QCOMPARE(form->details, QStringList{damaged_ + QStringLiteral(": ") + reason});
        QCOMPARE(form->session().fileName(), path_);
        QVERIFY(form->isEnabled());

        // Yes: both damaged levels are greyed, with the reason as hint.
        form->answers = {true};
        form->OpenArchive(damaged_);
        QVERIFY(WaitForJob(*form));
        QCOMPARE(form->session().fileName(), damaged_);
        QCOMPARE(form->errors.size(), 1);
        const QAbstractItemModel* files = Child<QTreeView>(*form, "filesView")->model();
        QCOMPARE(files->index(first_, 3).data().toString(), QStringLiteral("0"));
        QCOMPARE(files->index(first_, 1).data(Qt::ToolTipRole).toString(),
                 QString::fromStdString(read.SubFile(first_).Damage));
        QVERIFY(read.SubFile(second_).Damage.starts_with("text "));
        QCOMPARE(files->index(second_, 1).data(Qt::ToolTipRole).toString(),
                 QString::fromStdString(read.SubFile(second_).Damage));
        for (const int column : {1, 2}) {
            QCOMPARE(files->index(second_, column).data(Qt::ForegroundRole).value<QColor>(),
                     QColor(128, 128, 128));
        }
        QVERIFY(files->index(third_, 1).data(Qt::ToolTipRole).isNull());
        QCOMPARE(files->index(third_, 1).data(Qt::ForegroundRole).value<QColor>(),
                 QColor(Qt::black));

        // The level whose texts were read shows them, but nothing can change them.
        Select(*form, second_);
        TLGPSubFile* level = form->session().currentLevel();
        QCOMPARE(static_cast<int>(level->Texts.size()),
                 sample_facts::LevelAt(sample_, second_)->texts);
        QVERIFY(Editor(*form)->isEnabled());
        QVERIFY(Editor(*form)->isReadOnly());
        QVERIFY(!Editor(*form)->toPlainText().isEmpty());
        const Bytes before = level->Texts[0].Bytes;
        Type(*form, second_, QStringLiteral("No "));
        form->findChild<TMainMenu*>()->action(Command::Paste)->trigger();
        QCOMPARE(level->Texts[0].Bytes, before);
        QVERIFY(!form->session().hasUnsavedChanges());
        // Text 2 is shown by two windows.
        form->session().selectText(1);
        QVERIFY(Child<QSpinBox>(*form, "windowSelector")->isEnabled());
        QVERIFY(!Child<QToolButton>(*form, "windowButton")->isEnabled());

        // An edit elsewhere is saved; both damaged levels are written back byte for byte.
        Type(*form, third_, QStringLiteral("Saved "));
        Action(*form, Command::Save)->trigger();
        QVERIFY(WaitForJob(*form));
        QCOMPARE(form->errors.size(), 1);
        const std::map<std::string, Bytes> saved = StoredFiles(damaged_);
        QVERIFY(saved.at(Name(first_)) == damagedStored_.at(Name(first_)));
        QVERIFY(saved.at(Name(second_)) == damagedStored_.at(Name(second_)));
        QVERIFY(saved.at(Name(third_)) != damagedStored_.at(Name(third_)));
        TLGPFile reread;
        lgp::LoadArchive(reread, damaged_.toStdString(), {}, 0, lgp::DamagedLevels::Keep);
        QCOMPARE(text::DecodeText(reread.SubFile(third_).Texts[0].Bytes),
                 "Saved " + FirstText(third_));
    }

    void aDamagedLevelStaysReadOnlyWhateverTheEditorIsToldBesides() {
        const auto form = open(path_);
        form->answers = {true};
        form->OpenArchive(damaged_);
        QVERIFY(WaitForJob(*form));
        auto* pane = form->findChild<TTextEditorPane*>();
        // Held read-only, as while replace-all runs: choosing another level does not end it.
        pane->setReadOnly(true);
        Select(*form, third_);
        QVERIFY(Editor(*form)->isReadOnly());
        pane->setReadOnly(false);
        QVERIFY(!Editor(*form)->isReadOnly());
        Select(*form, second_);
        pane->setReadOnly(true);
        pane->setReadOnly(false);
        QVERIFY(Editor(*form)->isReadOnly());
        Select(*form, third_);
        QVERIFY(!Editor(*form)->isReadOnly());
    }

    // A damaged level's texts are read-only: a spelling suggestion leaves them as they are.
    void aSpellingSuggestionLeavesADamagedLevelAlone() {
        TLGPFile read;
        lgp::LoadArchive(read, damaged_.toStdString(), {}, 0, lgp::DamagedLevels::Keep);
        const std::string tagged = text::DecodeText(read.SubFile(second_).Texts[0].Bytes);
        // A word of the text, which a dictionary that knows it with an "s" misspells.
        const QString word = FirstWord(QString::fromLatin1(tagged)).captured();
        QVERIFY(!word.isEmpty());
        WriteFile(QDir(settings_->path()).filePath(QStringLiteral("tiny.aff")),
                  "SET UTF-8\nTRY s\n");
        WriteFile(QDir(settings_->path()).filePath(QStringLiteral("tiny.dic")),
                  "1\n" + word.toLatin1() + "s\n");

        const auto form = open(path_);
        form->answers = {true};
        form->OpenArchive(damaged_);
        QVERIFY(WaitForJob(*form));
        form->findChild<TMainMenu*>()->dictionaryAction(QStringLiteral("tiny"))->trigger();
        Select(*form, second_);
        const QString shown = Editor(*form)->toPlainText();
        const int position = static_cast<int>(FirstWord(shown).capturedStart()) + 1;
        UseContextMenu(*Editor(*form), position, [&word](QMenu& context) {
            QAction* suggestion = context.actions().first();
            QCOMPARE(suggestion->text(), word + QStringLiteral("s"));
            QVERIFY(!suggestion->isEnabled());
            suggestion->trigger();
        });
        QCOMPARE(Editor(*form)->toPlainText(), shown);
        QCOMPARE(form->session().currentTagged(), tagged);
        QVERIFY(!form->session().hasUnsavedChanges());
    }

    // An archive opened with a level that cannot be read compares with its own file, whose
    // such level is asked about as an open asks: both are left out.
    void anArchiveWithUnreadableLevelsComparesWithItsOwnFile() {
        const auto form = open(path_);
        form->answers = {true};
        form->OpenArchive(damaged_);
        QVERIFY(WaitForJob(*form));
        form->questions.clear();
        form->questionDetails.clear();
        form->answers = {true};
        form->compareChoice = damaged_;
        Action(*form, Command::Compare)->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(form->results.size(), 1, kJobTimeout);
        QCOMPARE(form->questions,
                 QStringList{QStringLiteral("1 level of the reference archive could not be read. "
                                            "Compare without it?")});
        QCOMPARE(form->questionDetails.size(), 1);
        QVERIFY(
            form->questionDetails.first().startsWith(QString::fromStdString(Name(first_) + ": ")));
        // A level that cannot be read has no text: the open archive's counts are those compared.
        const lgp::ArchiveCounts counts = lgp::CountArchive(*form->session().archive());
        QCOMPARE(form->results.first(),
                 SameCounts(counts.texts, counts.windowedTexts, counts.windows));
        QVERIFY(form->errors.isEmpty());
    }

    // A reference with a level that cannot be read is asked about: declined, nothing is
    // compared; agreed to, that level is left out of both archives.
    void aReferenceWithAnUnreadableLevelIsAskedAbout() {
        TLGPFile read;
        lgp::LoadArchive(read, unreadable_.toStdString(), {}, 0, lgp::DamagedLevels::Keep);
        const QString listed =
            QString::fromStdString(Name(first_) + ": " + read.SubFile(first_).Damage);
        const auto form = open(path_);
        form->compareChoice = unreadable_;
        Action(*form, Command::Compare)->trigger();
        QVERIFY(WaitForJob(*form));
        QCOMPARE(form->questionDetails, QStringList{listed});
        QCOMPARE(form->errors, QStringList{QStringLiteral("Invalid file.")});
        QCOMPARE(form->details, QStringList{unreadable_ + QStringLiteral(": ") + listed});
        QVERIFY(form->results.isEmpty());

        form->answers = {true};
        Action(*form, Command::Compare)->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(form->results.size(), 1, kJobTimeout);
        const sample::SampleLevel& left = *sample_facts::LevelAt(sample_, first_);
        QCOMPARE(form->results.first(),
                 SameCounts(sample_facts::Total(sample_, &sample::SampleLevel::texts) - left.texts,
                            sample_facts::Total(sample_, &sample::SampleLevel::windowedTexts) -
                                left.windowedTexts,
                            sample_facts::Total(sample_, &sample::SampleLevel::windowLinks) -
                                left.windowLinks));
        QCOMPARE(form->errors.size(), 1);
    }

    void anotherProgramsChangeIsAskedAboutBeforeSavingOverIt() {
        const auto form = open(path_);
        Type(*form, third_, QStringLiteral("Mine "));
        const QByteArray theirs = "written by another program";
        ReplaceFile(path_, theirs);
        const QString question =
            path_ +
            QStringLiteral(" was changed by another program since it was opened. Save over it?");

        // No: nothing is written, and no question is left over.
        Action(*form, Command::Save)->trigger();
        QVERIFY(WaitForJob(*form));
        QCOMPARE(form->questions, QStringList{question});
        QCOMPARE(FileBytes(path_), theirs);
        QVERIFY(form->errors.isEmpty());
        QVERIFY(form->session().hasUnsavedChanges());
        QVERIFY(form->isEnabled());

        // Declined while saving before opening another archive, the other archive is not opened,
        // not even after a later save.
        form->saveChangesAnswer = QMessageBox::Save;
        form->OpenArchive(other_);
        QVERIFY(WaitForJob(*form));
        QCOMPARE(form->questions.size(), 3);
        QCOMPARE(form->session().fileName(), path_);

        // Yes: the edit is written over the other program's file.
        form->answers = {true};
        Action(*form, Command::Save)->trigger();
        QVERIFY(WaitForJob(*form));
        QCOMPARE(form->questions.size(), 4);
        QVERIFY(form->errors.isEmpty());
        QVERIFY(!form->session().hasUnsavedChanges());
        QCoreApplication::processEvents();
        QVERIFY(!form->session().jobRunning());
        QCOMPARE(form->session().fileName(), path_);
        TLGPFile saved;
        lgp::LoadArchive(saved, path_.toStdString());
        QCOMPARE(text::DecodeText(saved.SubFile(third_).Texts[0].Bytes),
                 "Mine " + FirstText(third_));
    }

    void aSaveThatCannotReplaceTheFileSaysWhy() {
        const auto form = open(path_);
        Type(*form, third_, QStringLiteral("Kept "));
        const QByteArray before = FileBytes(path_);
        {
            // Another program saving the archive holds its lock for longer than the save waits.
            const platform::ArchiveLock held(path_.toStdString(),
                                             platform::ArchiveLock::Mode::Exclusive,
                                             std::chrono::milliseconds(0));
            Action(*form, Command::Save)->trigger();
            QVERIFY(WaitForJob(*form));
        }
        QCOMPARE(form->errors, QStringList{QStringLiteral("An error occured during file saving.")});
        QCOMPARE(form->details,
                 QStringList{path_ + QStringLiteral(" is being saved by another program")});
        QCOMPARE(FileBytes(path_), before);
        QVERIFY(form->session().hasUnsavedChanges());

        QVERIFY(
            QFile::setPermissions(path_, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        Action(*form, Command::Save)->trigger();
        QVERIFY(WaitForJob(*form));
        QCOMPARE(form->details.last(), path_ + QStringLiteral(" is read-only"));
        QCOMPARE(FileBytes(path_), before);
        QVERIFY(form->session().hasUnsavedChanges());
    }

    void exportsTheEditedLevelsAsAModFolder() {
        const auto form = open(path_);
        QVERIFY(Action(*form, Command::ExportModFolder)->isEnabled());
        QCOMPARE(Action(*form, Command::ExportModFolder)->toolTip(),
                 QStringLiteral("Export changes as mod folder..."));
        Type(*form, first_, QStringLiteral("Modded "));
        const QString chunk = QStringLiteral("direct/flevel.lgp/%1.chunk.1")
                                  .arg(QString::fromStdString(Name(first_)));
        jobs::StoreLastComparison({path_, other_, {}});
        const QString mod = folder_.filePath(QStringLiteral("mod"));
        QDir(mod).removeRecursively();

        form->exportChoice = TModExportRequest{other_, mod, lgp::ModLayout::Chunks};
        Action(*form, Command::ExportModFolder)->trigger();
        QVERIFY(WaitForJob(*form));
        QCOMPARE(form->exportDefault, other_);
        QVERIFY(form->errors.isEmpty());
        // Told once the job has ended.
        QTRY_COMPARE(form->messages, QStringList{QStringLiteral("1 level was written to ") + mod +
                                                 QStringLiteral(".")});
        QCOMPARE(FolderFiles(mod), (QStringList{"README.txt", chunk}));

        // The chunk in place of the original level's script section gives the edited level.
        const QByteArray written = FileBytes(mod + u'/' + chunk);
        TLGPFile original;
        lgp::LoadArchive(original, other_.toStdString());
        Bytes rebuilt = original.ReadSubFile(original.SubFile(first_));
        const std::size_t section = U32(rebuilt, 6);
        const std::size_t oldLength = U32(rebuilt, section);
        const auto shift = static_cast<std::uint32_t>(written.size() - oldLength);
        for (std::size_t at = 10; at < 42; at += 4) {
            const std::uint32_t moved = static_cast<std::uint32_t>(U32(rebuilt, at)) + shift;
            for (int byte = 0; byte < 4; ++byte)
                rebuilt[at + byte] = static_cast<std::uint8_t>(moved >> (8 * byte));
        }
        const auto length = static_cast<std::uint32_t>(written.size());
        for (int byte = 0; byte < 4; ++byte)
            rebuilt[section + byte] = static_cast<std::uint8_t>(length >> (8 * byte));
        rebuilt.erase(rebuilt.begin() + static_cast<std::ptrdiff_t>(section + 4),
                      rebuilt.begin() + static_cast<std::ptrdiff_t>(section + 4 + oldLength));
        rebuilt.insert(rebuilt.begin() + static_cast<std::ptrdiff_t>(section + 4), written.begin(),
                       written.end());
        Action(*form, Command::Save)->trigger();
        QVERIFY(WaitForJob(*form));
        TLGPFile edited;
        lgp::LoadArchive(edited, path_.toStdString());
        QVERIFY(rebuilt == edited.ReadSubFile(edited.SubFile(first_)));
        QCOMPARE(text::DecodeText(edited.SubFile(first_).Texts[0].Bytes),
                 "Modded " + FirstText(first_));

        // Against itself nothing differs, and nothing is written.
        const QString none = folder_.filePath(QStringLiteral("none"));
        form->exportChoice = TModExportRequest{path_, none, lgp::ModLayout::ModManager};
        Action(*form, Command::ExportModFolder)->trigger();
        QVERIFY(WaitForJob(*form));
        QTRY_COMPARE(form->messages.size(), 2);
        QCOMPARE(
            form->messages.last(),
            QStringLiteral("No level differs from the original archive: nothing was written."));
        QVERIFY(!QFileInfo::exists(none));
    }

    // The folder of an earlier export is replaced once the user agrees; a folder that holds
    // anything else is refused before any job, with the reason in the message.
    void aSecondExportReplacesTheFirstAndAForeignFolderIsRefused() {
        const auto form = open(path_);
        Type(*form, first_, QStringLiteral("Modded "));
        const QString mod = folder_.filePath(QStringLiteral("again"));
        QDir(mod).removeRecursively();
        form->exportChoice = TModExportRequest{other_, mod, lgp::ModLayout::Chunks};
        Action(*form, Command::ExportModFolder)->trigger();
        QVERIFY(WaitForJob(*form));
        const QStringList chunks = FolderFiles(mod);
        QCOMPARE(chunks.size(), 2);

        const QString question = mod + QStringLiteral(
            " holds an earlier mod folder export. Replace it with this one?");
        form->exportChoice = TModExportRequest{other_, mod, lgp::ModLayout::Direct};
        Action(*form, Command::ExportModFolder)->trigger();
        QCOMPARE(form->questions, QStringList{question});
        QVERIFY(!form->session().jobRunning());
        QCOMPARE(FolderFiles(mod), chunks);

        form->answers = {true};
        Action(*form, Command::ExportModFolder)->trigger();
        QVERIFY(WaitForJob(*form));
        QVERIFY(form->errors.isEmpty());
        QCOMPARE(form->questions.size(), 2);
        const QStringList direct = FolderFiles(mod);
        QCOMPARE(direct.size(), 2);
        QVERIFY(direct.contains(QStringLiteral("README.txt")));
        QVERIFY(direct.filter(QStringLiteral("direct/flevel/")).size() == 1);
        QVERIFY(!QFileInfo::exists(mod + QStringLiteral("/direct/flevel.lgp")));

        // A file of the user's own beside the export: nothing is asked, nothing is touched.
        WriteFile(mod + QStringLiteral("/notes.txt"), "mine");
        Action(*form, Command::ExportModFolder)->trigger();
        QCOMPARE(form->questions.size(), 2);
        QCOMPARE(form->errors, QStringList{QStringLiteral("The mod folder could not be written.")});
        QCOMPARE(form->details,
                 QStringList{mod + QStringLiteral(" holds files that no mod folder export wrote: "
                                                  "choose a new or empty folder.")});
        QCOMPARE(FolderFiles(mod), QStringList(direct) << QStringLiteral("notes.txt"));
        QCOMPARE(FileBytes(mod + QStringLiteral("/notes.txt")), QByteArray("mine"));
    }

    void theExportDialogStartsFromTheGivenOriginal() {
        TExportModForm dialog;
        std::optional<TModExportRequest> request;
        bool okAtFirst = true;
        QTimer::singleShot(0, &dialog, [&] {
            QCOMPARE(Child<QLineEdit>(dialog, "originalField")->text(), other_);
            QVERIFY(Child<QRadioButton>(dialog, "chunksButton")->isChecked());
            okAtFirst = Child<QPushButton>(dialog, "okButton")->isEnabled();
            Child<QLineEdit>(dialog, "folderField")->setText(QStringLiteral("/tmp/mod"));
            Child<QRadioButton>(dialog, "modButton")->click();
            Child<QPushButton>(dialog, "okButton")->click();
        });
        request = dialog.ask(other_);
        QVERIFY(!okAtFirst);
        QVERIFY(request.has_value());
        QCOMPARE(request->original, other_);
        QCOMPARE(request->folder, QStringLiteral("/tmp/mod"));
        QVERIFY(request->layout == lgp::ModLayout::ModManager);
    }

private:
    TEditorPaths Paths() const { return TEditorPaths::inFolder(settings_->path()); }

    std::unique_ptr<TestedMainForm> open(const QString& path) {
        auto form = std::make_unique<TestedMainForm>(QStringList{path}, Paths());
        form->show();
        if (!WaitForJob(*form)) qWarning("the open job did not end");
        return form;
    }

    // As another program saves: a new file put in the old one's place.
    static void ReplaceFile(const QString& path, const QByteArray& bytes) {
        const QString written = path + QStringLiteral(".new");
        WriteFile(written, bytes);
        std::filesystem::rename(written.toStdString(), path.toStdString());
    }

    std::string Name(int subFile) const { return sample_.files[static_cast<std::size_t>(subFile)]; }
    // The first text of a level, as the generator wrote it.
    std::string FirstText(int subFile) const {
        return sample_facts::LevelAt(sample_, subFile)->tagged.front();
    }

    QTemporaryDir folder_;
    std::unique_ptr<QTemporaryDir> settings_;
    QString demo_;
    QString path_;
    QString other_;
    QString damaged_;
    QString unreadable_;
    sample::SampleArchive sample_;
    // Table indices of three levels with texts.
    int first_ = -1;
    int second_ = -1;
    int third_ = -1;
    std::map<std::string, Bytes> damagedStored_;
};

QTEST_MAIN(MainFormArchiveTest)
#include "main_form_archive_test.moc"
