#include <algorithm>

#include <QFile>
#include <QHeaderView>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTreeView>
#include <QtTest>

#include "lgp/level_tables.h"
#include "sample/sample_archive.h"
#include "tests/ui/answered_main_form.h"
#include "text/text_layout.h"
#include "ui/editor_settings.h"
#include "ui/file_list_model.h"
#include "ui/ini_file.h"

namespace {

QTreeView* FilesView(const QWidget& form) { return Child<QTreeView>(form, "filesView"); }

QString SubFileName(const TMainForm& form) {
    const TLGPSubFile* subFile = form.session().currentSubFile();
    return subFile != nullptr ? QString::fromStdString(subFile->Name) : QString();
}

int IndexOf(const TMainForm& form, const std::string& name) {
    const auto& files = form.session().archive()->SubFiles;
    for (std::size_t index = 0; index < files.size(); ++index) {
        if (files[index]->Name == name) return static_cast<int>(index);
    }
    return -1;
}

QStringList RecentItems(const TMainForm& form) {
    QStringList items;
    for (const QAction* item : Child<QMenu>(form, "recentMenu")->actions()) items << item->text();
    return items;
}

}  // namespace

// What a translator meets first: the archive opens on its first level with the focus in the
// editor, the recent archives reopen where they were left, and the window at its first size
// shows every column of the file list and a three-line window whole.
class FirstMinutesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(folder_.isValid());
        first_ = folder_.filePath(QStringLiteral("first.lgp"));
        second_ = folder_.filePath(QStringLiteral("second #2.lgp"));
        sample_ = sample::WriteSampleArchive(first_.toStdString(), {.levels = 6});
        QVERIFY(QFile::copy(first_, second_));
    }

    void init() { settings_ = std::make_unique<QTemporaryDir>(); }

    void opensOnTheFirstLevelWithTheFocusInTheEditor() {
        const auto form = OpenInWindow(first_, settings_->path());
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        // The table starts with files that are not levels; the first level is selected.
        QVERIFY(!lgp::IsLevel(form->session().archive()->SubFile(0)));
        QVERIFY(sample_.levels.front().texts > 0);
        QCOMPARE(SubFileName(*form), QString::fromStdString(sample_.levels.front().name));
        QCOMPARE(form->session().currentText(), 0);
        QCOMPARE(FilesView(*form)->currentIndex().row(),
                 IndexOf(*form, sample_.levels.front().name));
        QTRY_VERIFY(Editor(*form)->hasFocus());
        // Typing goes into the text at once.
        const QString before = Editor(*form)->toPlainText();
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Oui "));
        QCOMPARE(Editor(*form)->toPlainText(), QStringLiteral("Oui ") + before);
    }

    void recentArchivesReopenWhereTheyWereLeft() {
        // A level with several texts, and its third text.
        const auto level = std::ranges::find_if(
            sample_.levels, [](const sample::SampleLevel& entry) { return entry.texts >= 3; });
        QVERIFY(level != sample_.levels.end());
        {
            const auto form = OpenInWindow(first_, settings_->path());
            form->session().selectSubFile(IndexOf(*form, level->name));
            form->session().selectText(2);
            form->OpenArchive(second_);
            QVERIFY(WaitForJob(*form));
            QCOMPARE(form->session().fileName(), second_);
            QCOMPARE(RecentItems(*form),
                     (QStringList{"&1 " + QDir::toNativeSeparators(second_),
                                  "&2 " + QDir::toNativeSeparators(first_)}));
            QVERIFY(form->close());
        }
        // Kept in settings.ini, the most recent first, the paths as file URLs.
        const TEditorSettings stored =
            TEditorSettings::read(QDir(settings_->path()).filePath(QStringLiteral("settings.ini")));
        QCOMPARE(stored.recentArchives.size(), std::size_t{2});
        QCOMPARE(stored.recentArchives[0].path, second_);
        QCOMPARE(stored.recentArchives[1],
                 (TRecentArchive{first_, QString::fromStdString(level->name), 3}));
        QVERIFY(TIniFile(QDir(settings_->path()).filePath(QStringLiteral("settings.ini")))
                    .readString(QStringLiteral("RECENT"), QStringLiteral("Archive1"), QString())
                    .endsWith(QStringLiteral("second%20%232.lgp")));

        // Reopened from the menu, the first archive is back at its level and text.
        AnsweredMainForm form({}, TEditorPaths::inFolder(settings_->path()));
        form.show();
        QCOMPARE(RecentItems(form).size(), 2);
        Child<QMenu>(form, "recentMenu")->actions()[1]->trigger();
        QVERIFY(WaitForJob(form));
        QCOMPARE(form.session().fileName(), first_);
        QCOMPARE(SubFileName(form), QString::fromStdString(level->name));
        QCOMPARE(form.session().currentText(), 2);
        QCOMPARE(RecentItems(form).first(), "&1 " + QDir::toNativeSeparators(first_));
    }

    void theListKeepsTheEightLatest() {
        TEditorSettings settings;
        for (int i = 0; i < 10; ++i) {
            settings.recentArchives.push_back(
                {folder_.filePath(QStringLiteral("a%1 \u03A9.lgp").arg(i)), QStringLiteral("md1_1"), i});
        }
        const QString path = QDir(settings_->path()).filePath(QStringLiteral("settings.ini"));
        QVERIFY(settings.write(path));
        const TEditorSettings read = TEditorSettings::read(path);
        QCOMPARE(read.recentArchives.size(), TEditorSettings::kMostRecentArchives);
        QVERIFY(std::equal(read.recentArchives.begin(), read.recentArchives.end(),
                           settings.recentArchives.begin()));
    }

    void theFirstSizeShowsEveryColumnAndAThreeLineWindow() {
        // In English, and in French, whose captions are longer.
        for (const char* language : {"eng", "fra"}) {
            const QString settings = settings_->path();
            QFile::remove(QDir(settings).filePath(QStringLiteral("fra.lng")));
            QVERIFY(QFile::copy(QStringLiteral(ORVENNE_SOURCE_DIR "/resources/lang/fra.lng"),
                                QDir(settings).filePath(QStringLiteral("fra.lng"))));
            QVERIFY(TEditorSettings::writeLanguage(QDir(settings).filePath(QStringLiteral("settings.ini")),
                                                   QString::fromLatin1(language)));
            const auto form = OpenInWindow(first_, settings);
            QCOMPARE(form->size(), QSize(1024, 768));
            QTreeView* files = FilesView(*form);
            QTRY_VERIFY(files->viewport()->width() > 0);
            int columns = 0;
            for (int column = 0; column < TFileListModel::kColumnCount; ++column)
                columns += files->columnWidth(column);
            QVERIFY2(columns <= files->viewport()->width(), language);
            QCOMPARE(files->horizontalScrollBar()->maximum(), 0);

            const QWidget* preview = Child<QScrollArea>(*form, "textPreviewArea")->viewport();
            QVERIFY(preview->height() >= text::WindowHeightForLines(3));
            QVERIFY(preview->width() >= 320);
        }
    }

private:
    QTemporaryDir folder_;
    std::unique_ptr<QTemporaryDir> settings_;
    sample::SampleArchive sample_;
    QString first_;
    QString second_;
};

QTEST_MAIN(FirstMinutesTest)
#include "first_minutes_test.moc"
