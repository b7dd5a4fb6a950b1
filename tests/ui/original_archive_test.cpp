#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeView>
#include <QtTest>

#include "lgp/archive_loader.h"
#include "lgp/archive_saver.h"
#include "lgp/level_tables.h"
#include "lgp/window.h"
#include "lzs/hash_stream.h"
#include "sample/sample_archive.h"
#include "tests/lgp/archive_builder.h"
#include "tests/ui/answered_main_form.h"
#include "text/text_decoder.h"
#include "text/text_encoder.h"
#include "ui/editor_text.h"
#include "ui/file_list_model.h"
#include "ui/original_archives.h"
#include "ui/texts_list_model.h"
#include "ui/translation_marks.h"
#include "ui/translation_status.h"

namespace {

using Command = TMainMenu::Command;

// The answered main window that also answers the original archive's dialog with
// `originalChoice`, the PO file dialogs with `poChoice`, and the session's questions with
// `damagedAnswer`, recording them.
class TranslatingForm : public AnsweredMainForm {
public:
    TranslatingForm(QStringList arguments, TEditorPaths paths)
        : AnsweredMainForm(std::move(arguments), std::move(paths)) {
        session().setQuestions({[this](const QString& question, const QString& levels) {
                                    questions << question + QStringLiteral(" | ") + levels;
                                    return damagedAnswer;
                                },
                                {}});
    }

    QString originalChoice;
    QString poChoice;
    bool damagedAnswer = false;
    QStringList questions;

protected:
    QString chooseOriginalArchive(const QString&, const QString&) override {
        return originalChoice;
    }
    QString choosePoFile(const QString&, const QString&, bool) override { return poChoice; }
};

std::unique_ptr<TranslatingForm> Open(const QString& path, const QString& settings) {
    auto form =
        std::make_unique<TranslatingForm>(QStringList{path}, TEditorPaths::inFolder(settings));
    form->show();
    if (!WaitForJob(*form) || form->session().archive() == nullptr) qFatal("cannot open");
    return form;
}

// Chooses the original through the File menu and waits until it has been read.
void ChooseOriginal(TranslatingForm& form, const QString& original) {
    form.originalChoice = original;
    Action(form, Command::OriginalArchive)->trigger();
    QVERIFY(WaitForJob(form));
}

int TableIndex(const TArchiveSession& session, const std::string& name) {
    const auto& files = session.archive()->SubFiles;
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (files[i]->Name == name) return static_cast<int>(i);
    }
    qFatal("no file %s", name.c_str());
}

void Select(TMainForm& form, int subFile, int text) {
    form.session().selectSubFile(subFile);
    form.session().selectText(text);
}

QString Selected(const TMainForm& form) {
    return QStringLiteral("%1:%2")
        .arg(form.session().currentSubFileIndex())
        .arg(form.session().currentText());
}

QVariant TextRow(const TMainForm& form, int text, int role) {
    return Child<QListView>(form, "textsView")->model()->index(text, 0).data(role);
}

QString TranslatedCell(const TMainForm& form, int subFile) {
    return Child<QTreeView>(form, "filesView")
        ->model()
        ->index(subFile, TFileListModel::kTranslatedColumn)
        .data()
        .toString();
}

QString Progress(const TMainForm& form) {
    return form.findChild<TTranslationStatus*>()->progressText();
}

}  // namespace

class OriginalArchiveTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QVERIFY(folder_.isValid());
        original_ = folder_.filePath(QStringLiteral("levels.lgp"));
        sample_ = sample::WriteSampleArchive(original_.toStdString(), {.levels = 6});
        lgp::LoadArchive(originalArchive_, original_.toStdString());
        // The translation starts as a copy: every text untranslated.
        translation_ = folder_.filePath(QStringLiteral("fr.lgp"));
        QVERIFY(QFile::copy(original_, translation_));
        // An original that lacks the last level with texts, and those after it (without).
        const auto& levels = sample_.levels;
        const auto missing = std::find_if(levels.rbegin(), levels.rend(),
                                          [](const auto& level) { return level.texts > 0; });
        QVERIFY(missing != levels.rend());
        missing_ = *missing;
        shorter_ = folder_.filePath(QStringLiteral("shorter.lgp"));
        const auto kept = static_cast<int>(levels.rend() - missing) - 1;
        sample::WriteSampleArchive(shorter_.toStdString(), {.levels = kept});
        // The level with the most texts among those that both have.
        busiest_ =
            *std::max_element(levels.begin(), levels.begin() + kept,
                              [](const auto& a, const auto& b) { return a.texts < b.texts; });
        QVERIFY(busiest_.texts >= 3);
    }

    void init() { settings_ = std::make_unique<QTemporaryDir>(); }

    void thePaneShowsTheSelectedTextsOriginal() {
        const auto form = Open(translation_, settings_->path());
        auto* pane = Child<QWidget>(*form, "originalPane");
        auto* shown = Child<QPlainTextEdit>(*form, "originalText");
        auto* files = Child<QTreeView>(*form, "filesView");
        QVERIFY(!pane->isVisible());
        QVERIFY(files->isColumnHidden(TFileListModel::kTranslatedColumn));
        ChooseOriginal(*form, shorter_);
        QVERIFY(pane->isVisible());
        QVERIFY(!files->isColumnHidden(TFileListModel::kTranslatedColumn));
        QCOMPARE(form->findChild<TTranslationStatus*>()->originalText(),
                 QStringLiteral("Original: shorter.lgp"));

        const int busiest = TableIndex(form->session(), busiest_.name);
        const TLGPSubFile& original = *originalArchive_.SubFiles[static_cast<std::size_t>(busiest)];
        for (const int text : {1, 0, 2}) {
            Select(*form, busiest, text);
            QCOMPARE(shown->toPlainText(),
                     ui::TaggedToEditor(
                         text::DecodeText(original.Texts[static_cast<std::size_t>(text)].Bytes)));
            QCOMPARE(Child<QLabel>(*form, "originalState")->text(), QStringLiteral("Untranslated"));
        }

        // The original drawn on request, in the size of the selected window.
        auto* previewButton = Child<QToolButton>(*form, "originalPreviewButton");
        auto* picture = Child<QLabel>(*form, "originalPicture");
        const auto& texts = original.Texts;
        const auto windowed = std::find_if(texts.begin(), texts.end(),
                                           [](const TLevelText& t) { return !t.Windows.empty(); });
        QVERIFY(windowed != texts.end());
        Select(*form, busiest, static_cast<int>(windowed - texts.begin()));
        QVERIFY(picture->pixmap().isNull());
        previewButton->click();
        QCOMPARE(picture->pixmap().size(),
                 QSize(windowed->Windows.front()->Width, windowed->Windows.front()->Height));

        // A level that the original lacks, and a file that is no level.
        Select(*form, TableIndex(form->session(), missing_.name), 0);
        QVERIFY(shown->toPlainText().isEmpty());
        QCOMPARE(shown->placeholderText(), QStringLiteral("Not in the original"));
        QVERIFY(Child<QLabel>(*form, "originalState")->text().isEmpty());
        QVERIFY(picture->pixmap().isNull());
        Select(*form, 0, -1);
        QVERIFY(!lgp::IsLevel(*form->session().currentSubFile()));
        QVERIFY(shown->toPlainText().isEmpty());
        QVERIFY(shown->placeholderText().isEmpty());
    }

    void copyOriginalIsOneStoredEditUndoneAtOnce() {
        const auto form = Open(translation_, settings_->path());
        QVERIFY(!Action(*form, Command::CopyOriginal)->isEnabled());
        ChooseOriginal(*form, original_);
        const int busiest = TableIndex(form->session(), busiest_.name);
        Select(*form, busiest, 1);
        const std::vector<std::uint8_t>& stored = form->session().currentLevel()->Texts[1].Bytes;
        const std::vector<std::uint8_t> originalBytes = stored;
        QTest::keyClicks(Editor(*form), QStringLiteral("Bonjour"));
        const std::vector<std::uint8_t> typed = stored;
        QVERIFY(typed != originalBytes);

        QCOMPARE(Action(*form, Command::CopyOriginal)->shortcut(),
                 QKeySequence(Qt::CTRL | Qt::Key_B));
        QVERIFY(Action(*form, Command::CopyOriginal)->isEnabled());
        QSignalSpy edits(&form->session(), &TArchiveSession::textEdited);
        Action(*form, Command::CopyOriginal)->trigger();
        QCOMPARE(edits.size(), 1);
        QVERIFY(stored == originalBytes);
        QCOMPARE(Editor(*form)->toPlainText(), ui::TaggedToEditor(text::DecodeText(originalBytes)));
        QVERIFY(form->session().translationMarks().isUntranslated(busiest, 1));
        // Copying it again changes nothing.
        Action(*form, Command::CopyOriginal)->trigger();
        QCOMPARE(edits.size(), 1);

        Action(*form, Command::Undo)->trigger();
        QVERIFY(stored == typed);
        QVERIFY(!form->session().translationMarks().isUntranslated(busiest, 1));
    }

    void copyOriginalKeepsBytesThatReadAsOtherBytes() {
        const auto form = Open(translation_, settings_->path());
        const int busiest = TableIndex(form->session(), busiest_.name);
        // An original whose text starts with a byte whose character the game also has under a
        // lower code: its tagged text encodes to other bytes.
        TLGPFile ambiguous;
        lgp::LoadArchive(ambiguous, original_.toStdString());
        std::vector<std::uint8_t>& bytes =
            ambiguous.SubFiles[static_cast<std::size_t>(busiest)]->Texts[1].Bytes;
        bytes.insert(bytes.begin(), 0x5F);
        QVERIFY(text::EncodeText(text::DecodeText(bytes), true) != bytes);
        const QString path = folder_.filePath(QStringLiteral("ambiguous.lgp"));
        lgp::SaveArchive(ambiguous, path.toStdString(), lzs::CompressHashedStream);

        ChooseOriginal(*form, path);
        Select(*form, busiest, 1);
        QVERIFY(!form->session().translationMarks().isUntranslated(busiest, 1));
        Action(*form, Command::CopyOriginal)->trigger();
        QVERIFY(form->session().currentLevel()->Texts[1].Bytes == bytes);
        QVERIFY(form->session().translationMarks().isUntranslated(busiest, 1));
        QCOMPARE(Editor(*form)->toPlainText(), ui::TaggedToEditor(text::DecodeText(bytes)));
    }

    void theProgressFollowsEveryKeystroke() {
        const auto form = Open(translation_, settings_->path());
        QVERIFY(form->findChild<TTranslationStatus*>()->isHidden());
        ChooseOriginal(*form, shorter_);
        // The level that the original lacks counts as translated: it is not the original's.
        int all = 0;
        for (const auto& level : sample_.levels) all += level.texts;
        const int missing = missing_.texts;
        const auto progress = [all](int translated) {
            return QStringLiteral("Translated: %1 of %2 texts (%3 %)")
                .arg(translated)
                .arg(all)
                .arg(100.0 * translated / all, 0, 'f', 1);
        };
        QCOMPARE(Progress(*form), progress(missing));
        const int busiest = TableIndex(form->session(), busiest_.name);
        const QString none = QStringLiteral("0/%1").arg(busiest_.texts);
        QCOMPARE(TranslatedCell(*form, busiest), none);
        QCOMPARE(TranslatedCell(*form, TableIndex(form->session(), missing_.name)),
                 QStringLiteral("%1/%1").arg(missing));
        QCOMPARE(TranslatedCell(*form, 0), QStringLiteral("-"));

        Select(*form, busiest, 0);
        QVERIFY(TextRow(*form, 0, TTextsListModel::kUntranslatedRole).toBool());
        QTest::keyClicks(Editor(*form), QStringLiteral("x"));
        QCOMPARE(Progress(*form), progress(missing + 1));
        QCOMPARE(TranslatedCell(*form, busiest), QStringLiteral("1/%1").arg(busiest_.texts));
        QVERIFY(!TextRow(*form, 0, TTextsListModel::kUntranslatedRole).toBool());
        QVERIFY(TextRow(*form, 1, TTextsListModel::kUntranslatedRole).toBool());
        QTest::keyClick(Editor(*form), Qt::Key_Backspace);
        QCOMPARE(Progress(*form), progress(missing));
        QCOMPARE(TranslatedCell(*form, busiest), none);
    }

    void theChecksMarkTheTextsList() {
        const auto form = Open(translation_, settings_->path());
        ChooseOriginal(*form, original_);
        const TLGPFile& archive = *form->session().archive();
        int level = -1;
        int text = -1;
        for (std::size_t i = 0; i < archive.SubFiles.size() && level < 0; ++i) {
            const auto& texts = archive.SubFiles[i]->Texts;
            for (std::size_t t = 0; t < texts.size(); ++t) {
                if (text::DecodeText(texts[t].Bytes).find("{VAR1}") != std::string::npos) {
                    level = static_cast<int>(i);
                    text = static_cast<int>(t);
                    break;
                }
            }
        }
        QVERIFY(level >= 0);
        Select(*form, level, text);
        QCOMPARE(TextRow(*form, text, TTextsListModel::kFindingsRole).toInt(),
                 int{TTextsListModel::kNoFinding});
        const QString original = Editor(*form)->toPlainText();
        Editor(*form)->selectAll();
        Editor(*form)->insertPlainText(QString(original).remove(QStringLiteral("{VAR1}")));
        QCOMPARE(TextRow(*form, text, TTextsListModel::kFindingsRole).toInt(),
                 int{TTextsListModel::kErrorFound});
        QVERIFY(TextRow(*form, text, Qt::ToolTipRole)
                    .toString()
                    .contains(QStringLiteral("Error: {VAR1} missing")));
        QCOMPARE(TranslatedCell(*form, level),
                 QStringLiteral("1/%1").arg(
                     archive.SubFiles[static_cast<std::size_t>(level)]->Texts.size()));
        // Kept, but with a trailing space: a warning alone.
        Editor(*form)->selectAll();
        Editor(*form)->insertPlainText(original + QStringLiteral(" "));
        QCOMPARE(TextRow(*form, text, TTextsListModel::kFindingsRole).toInt(),
                 int{TTextsListModel::kWarningFound});
        QVERIFY(TextRow(*form, text, Qt::ToolTipRole)
                    .toString()
                    .contains(QStringLiteral("Warning: line")));
    }

    void nextAndPreviousUntranslatedText() {
        const auto form = Open(translation_, settings_->path());
        QVERIFY(!Action(*form, Command::NextUntranslatedText)->isEnabled());
        ChooseOriginal(*form, original_);
        QCOMPARE(Action(*form, Command::NextUntranslatedText)->shortcut(),
                 QKeySequence(Qt::Key_F9));
        QCOMPARE(Action(*form, Command::PreviousUntranslatedText)->shortcut(),
                 QKeySequence(Qt::SHIFT | Qt::Key_F9));
        const int busiest = TableIndex(form->session(), busiest_.name);
        Select(*form, busiest, 1);
        QTest::keyClicks(Editor(*form), QStringLiteral("x"));
        Select(*form, busiest, 0);
        const QString at = QString::number(busiest) + QStringLiteral(":");
        const QList<std::pair<Command, QString>> steps = {
            {Command::NextUntranslatedText, at + "2"},
            {Command::PreviousUntranslatedText, at + "0"},
            {Command::NextUntranslatedText, at + "2"},
        };
        for (const auto& [command, selected] : steps) {
            Action(*form, command)->trigger();
            QCOMPARE(Selected(*form), selected);
        }
        // Past the archive's last text, the first; before its first, the last.
        std::vector<int> levels;
        for (const auto& level : sample_.levels) {
            if (level.texts > 0) levels.push_back(TableIndex(form->session(), level.name));
        }
        std::sort(levels.begin(), levels.end());
        const auto texts = [&form](int subFile) {
            return static_cast<int>(form->session()
                                        .archive()
                                        ->SubFiles[static_cast<std::size_t>(subFile)]
                                        ->Texts.size());
        };
        Select(*form, levels.back(), texts(levels.back()) - 1);
        Action(*form, Command::NextUntranslatedText)->trigger();
        QCOMPARE(Selected(*form), QStringLiteral("%1:0").arg(levels.front()));
        Action(*form, Command::PreviousUntranslatedText)->trigger();
        QCOMPARE(Selected(*form),
                 QStringLiteral("%1:%2").arg(levels.back()).arg(texts(levels.back()) - 1));

        // The walk follows the files list as shown: sorted by "#" descending, the last level
        // comes first, and the level shown after it is the one before it in the table.
        QHeaderView* header = Child<QTreeView>(*form, "filesView")->header();
        emit header->sectionClicked(0);
        emit header->sectionClicked(0);
        const TTranslationMarks& marks = form->session().translationMarks();
        QString expected;
        for (auto level = levels.rbegin() + 1; level != levels.rend() && expected.isEmpty(); ++level) {
            for (int text = 0; text < texts(*level) && expected.isEmpty(); ++text) {
                if (marks.isUntranslated(*level, text)) expected = QStringLiteral("%1:%2").arg(*level).arg(text);
            }
        }
        QVERIFY(!expected.isEmpty() && !expected.startsWith(QString::number(levels.front()) + ":"));
        Select(*form, levels.back(), texts(levels.back()) - 1);
        Action(*form, Command::NextUntranslatedText)->trigger();
        QCOMPARE(Selected(*form), expected);
    }

    void theOriginalIsRememberedPerArchive() {
        {
            const auto form = Open(translation_, settings_->path());
            ChooseOriginal(*form, shorter_);
            const TOriginalArchives remembered(
                TEditorPaths::inFolder(settings_->path()).settingsFile);
            QCOMPARE(remembered.originalOf(translation_), shorter_);
            // Another archive has none; the first takes its own again.
            form->OpenArchive(original_);
            QVERIFY(WaitForJob(*form));
            QVERIFY(!form->session().translationMarks().hasOriginal());
            QVERIFY(!Child<QWidget>(*form, "originalPane")->isVisible());
            form->OpenArchive(translation_);
            QTRY_VERIFY_WITH_TIMEOUT(form->session().translationMarks().hasOriginal(), kJobTimeout);
            QCOMPARE(form->session().translationMarks().originalPath(), shorter_);
        }
        // And so does the next run.
        const auto form = Open(translation_, settings_->path());
        QTRY_VERIFY_WITH_TIMEOUT(form->session().translationMarks().hasOriginal(), kJobTimeout);
        QVERIFY(WaitForJob(*form));
        QCOMPARE(form->session().translationMarks().originalPath(), shorter_);
    }

    void rememberedPathsComeBackWhole() {
        const TOriginalArchives originals(settings_->filePath(QStringLiteral("settings.ini")));
        const QString odd =
            settings_->filePath(QStringLiteral("Tradu\u00E7\u00E3o 100% \u65E5\u672C/fr.lgp"));
        QVERIFY(originals.remember(odd, QStringLiteral("/x/\u00E9 %41.lgp")));
        QCOMPARE(originals.originalOf(odd), QStringLiteral("/x/\u00E9 %41.lgp"));
        // The newest first, the oldest dropped past the limit.
        for (int n = 0; n < TOriginalArchives::kRemembered; ++n) {
            QVERIFY(
                originals.remember(settings_->filePath(QString::number(n)), QString::number(n)));
        }
        QCOMPARE(originals.originalOf(odd), QString());
        QCOMPARE(originals.originalOf(settings_->filePath(QStringLiteral("0"))),
                 QStringLiteral("0"));
        QVERIFY(
            originals.remember(settings_->filePath(QStringLiteral("0")), QStringLiteral("again")));
        QVERIFY(
            originals.remember(settings_->filePath(QStringLiteral("new")), QStringLiteral("new")));
        QCOMPARE(originals.originalOf(settings_->filePath(QStringLiteral("0"))),
                 QStringLiteral("again"));
        QCOMPARE(originals.originalOf(settings_->filePath(QStringLiteral("1"))), QString());
    }

    void aDamagedOriginalIsAskedAboutAndAnUnreadableOneReported() {
        // The original with the busiest level's stored data replaced by a field file too short
        // to parse.
        TLGPFile demo;
        demo.ReadTableOfContents(original_.toStdString());
        lgp_test::ArchiveBuilder builder;
        for (const auto& subFile : demo.SubFiles) {
            builder.Add(subFile->Name, subFile->Name == busiest_.name
                                           ? lzs::CompressHashedStream(lgp_test::Bytes(16, 0))
                                           : demo.ReadStoredData(*subFile));
        }
        const lgp_test::Bytes bytes = builder.Build();
        const QString damaged = folder_.filePath(QStringLiteral("damaged.lgp"));
        QFile file(damaged);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
        file.close();

        const auto form = Open(translation_, settings_->path());
        ChooseOriginal(*form, damaged);
        QCOMPARE(form->questions.size(), 1);
        QVERIFY(form->questions.first().startsWith(
            QStringLiteral("1 level of the original archive could not be read.")));
        QVERIFY(form->questions.first().contains(
            QStringLiteral(" | ") + QString::fromStdString(busiest_.name) + QStringLiteral(": ")));
        QVERIFY(!form->session().translationMarks().hasOriginal());

        // Taken, its damaged level is missing from it.
        form->damagedAnswer = true;
        ChooseOriginal(*form, damaged);
        QVERIFY(form->session().translationMarks().hasOriginal());
        Select(*form, TableIndex(form->session(), busiest_.name), 0);
        QCOMPARE(Child<QPlainTextEdit>(*form, "originalText")->placeholderText(),
                 QStringLiteral("Not in the original"));
        QVERIFY(!form->session().translationMarks().isUntranslated(
            form->session().currentSubFileIndex(), 0));

        // A file that is no archive leaves the original as it was.
        const QString missing = folder_.filePath(QStringLiteral("missing.lgp"));
        ChooseOriginal(*form, missing);
        QCOMPARE(form->errors,
                 QStringList{QStringLiteral("The original archive could not be read.")});
        QVERIFY(form->details.first().startsWith(missing));
        QCOMPARE(form->session().translationMarks().originalPath(), damaged);
    }

    void aPoFileGoesOutWithTheOriginalAndComesBackTranslated() {
        const auto form = Open(translation_, settings_->path());
        QVERIFY(!Action(*form, Command::ExportBilingualPo)->isEnabled());
        ChooseOriginal(*form, original_);
        const int busiest = TableIndex(form->session(), busiest_.name);
        Select(*form, busiest, 1);
        QTest::keyClicks(Editor(*form), QStringLiteral("Oui. "));
        const std::string translated = form->session().currentTagged();

        // Written with the ".po" it lacked.
        form->poChoice = folder_.filePath(QStringLiteral("fr"));
        Action(*form, Command::ExportBilingualPo)->trigger();
        QFile file(form->poChoice + QStringLiteral(".po"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QString po = QString::fromUtf8(file.readAll());
        file.close();
        const QString context =
            QStringLiteral("msgctxt \"%1:").arg(QString::fromStdString(busiest_.name));
        QVERIFY(po.contains(context + QStringLiteral("2\"")));
        QVERIFY(po.contains(QStringLiteral("Oui. ")));

        // Text 1 translated in the file, text 3's source changed since: only text 1 is taken.
        const auto entry = [&po, &context](int text) {
            return po.indexOf(QStringLiteral("msgstr"),
                              po.indexOf(context + QString::number(text) + QStringLiteral("\"")));
        };
        po.replace(entry(1), QStringLiteral("msgstr \"\"").size(),
                   QStringLiteral("msgstr \"Texte un\""));
        const qsizetype third =
            po.indexOf(QStringLiteral("msgid"), po.indexOf(context + QStringLiteral("3\"")));
        po.insert(po.indexOf(u'"', third) + 1, QStringLiteral("Changed "));
        po.replace(entry(3), QStringLiteral("msgstr \"\"").size(),
                   QStringLiteral("msgstr \"Texte trois\""));
        form->poChoice = folder_.filePath(QStringLiteral("in.po"));
        QFile edited(form->poChoice);
        QVERIFY(edited.open(QIODevice::WriteOnly));
        edited.write(po.toUtf8());
        edited.close();
        Select(*form, busiest, 0);
        const auto& texts = form->session().currentLevel()->Texts;
        const std::vector<std::uint8_t> before = texts[0].Bytes;
        Action(*form, Command::ImportBilingualPo)->trigger();
        QCOMPARE(text::DecodeText(texts[0].Bytes), std::string("Texte un"));
        QCOMPARE(Editor(*form)->toPlainText(), QStringLiteral("Texte un"));
        QVERIFY(form->session().isTextChanged(busiest, 0));
        QCOMPARE(text::DecodeText(texts[1].Bytes), translated);
        QVERIFY(texts[2].Bytes ==
                originalArchive_.SubFiles[static_cast<std::size_t>(busiest)]->Texts[2].Bytes);
        QCOMPARE(form->messages,
                 (QStringList{QStringLiteral("Texts changed by the import: 1."),
                              QStringLiteral(
                                  "Some entries were left out; the details say which and why.")}));
        QCOMPARE(Progress(*form).section(u' ', 1, 1), QStringLiteral("2"));

        // The import is one step of the history, marks and progress included.
        const std::vector<std::uint8_t> imported = texts[0].Bytes;
        Action(*form, Command::Undo)->trigger();
        QVERIFY(texts[0].Bytes == before);
        QCOMPARE(text::DecodeText(texts[1].Bytes), translated);
        QCOMPARE(Progress(*form).section(u' ', 1, 1), QStringLiteral("1"));
        Action(*form, Command::Redo)->trigger();
        QVERIFY(texts[0].Bytes == imported);
        QCOMPARE(Progress(*form).section(u' ', 1, 1), QStringLiteral("2"));
    }

    void captionsAndNumbersFollowTheLanguageAndLocale() {
        QVERIFY(QFile::copy(QStringLiteral(ORVENNE_SOURCE_DIR "/resources/lang/fra.lng"),
                            settings_->filePath(QStringLiteral("fra.lng"))));
        const auto form = Open(translation_, settings_->path());
        ChooseOriginal(*form, shorter_);
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        form->ChangeLanguage(QStringLiteral("fra"));
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        int all = 0;
        for (const auto& level : sample_.levels) all += level.texts;
        const double share = 100.0 * missing_.texts / all;
        QCOMPARE(Progress(*form), QStringLiteral("Traduit : %1 textes sur %2 (%3 %)")
                                      .arg(missing_.texts)
                                      .arg(all)
                                      .arg(QString::number(share, 'f', 1).replace(u'.', u',')));
        QCOMPARE(Child<QToolButton>(*form, "originalPreviewButton")->text(),
                 QStringLiteral("Aper\u00E7u"));
        QCOMPARE(Action(*form, Command::CopyOriginal)->text().remove(u'&'),
                 QStringLiteral("Copier l'origine"));
        // Qt's own buttons take back their captions as the language changes: the windows'
        // captions come after.
        const QStringList buttons = [&form] {
            QStringList texts;
            for (const QPushButton* button :
                 Child<QWidget>(*form, "exportModForm")->findChildren<QPushButton*>()) {
                texts << button->text().remove(u'&');
            }
            return texts;
        }();
        QVERIFY(buttons.contains(QStringLiteral("Annuler")));
    }

private:
    QTemporaryDir folder_;
    std::unique_ptr<QTemporaryDir> settings_;
    QString original_;
    QString translation_;
    QString shorter_;
    sample::SampleArchive sample_;
    sample::SampleLevel busiest_;
    sample::SampleLevel missing_;
    TLGPFile originalArchive_;
};

QTEST_MAIN(OriginalArchiveTest)
#include "original_archive_test.moc"
