#include "ui/compare_controller.h"

#include <algorithm>
#include <memory>
#include <vector>

#include <QAbstractItemView>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QtTest>

#include "sample/sample_archive.h"
#include "tests/ui/answered_main_form.h"
#include "tests/ui/sample_facts.h"
#include "ui/status_bar.h"
#include "ui/texts_list_model.h"
#include "ui/translation_marks.h"

namespace {

using Command = TMainMenu::Command;

// Every marked text of the open archive as "file:text", in table order.
QStringList Marks(const TMainForm& form) {
    QStringList marks;
    const TLGPFile& archive = *form.session().archive();
    for (std::size_t file = 0; file < archive.SubFiles.size(); ++file) {
        const std::vector<std::uint8_t>& flags = archive.SubFiles[file]->CompareMarks;
        for (std::size_t text = 0; text < flags.size(); ++text) {
            if (flags[text] != 0) marks << QStringLiteral("%1:%2").arg(file).arg(text);
        }
    }
    return marks;
}

// Adds "!" to the end of a text, as typed in the editor.
void Append(TMainForm& form, sample_facts::TextPlace place) {
    form.session().selectSubFile(place.subFile);
    form.session().selectText(place.text);
    Editor(form)->moveCursor(QTextCursor::End);
    QTest::keyClicks(Editor(form), QStringLiteral("!"));
}

QString Selected(const TMainForm& form) {
    return QStringLiteral("%1:%2")
        .arg(form.session().currentSubFileIndex())
        .arg(form.session().currentText());
}

QString PlaceText(sample_facts::TextPlace place) {
    return QStringLiteral("%1:%2").arg(place.subFile).arg(place.text);
}

// A row of the result window: the count of both archives, the differences and their share.
QString ResultRow(int count, const char* word, int differences) {
    const QLocale locale;
    return QStringLiteral("%1 %2 | %1 %2 | %3 | %4 %")
        .arg(locale.toString(count), QLatin1String(word), locale.toString(differences),
             locale.toString(100.0 * differences / count, 'f', 2));
}

}  // namespace

class CompareControllerTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QVERIFY(folder_.isValid());
        path_ = folder_.filePath(QStringLiteral("levels.lgp"));
        sample_ = sample::WriteSampleArchive(path_.toStdString(), {.levels = 6});
    }

    void init() { settings_ = std::make_unique<QTemporaryDir>(); }

    void comparingWithItselfFindsNoDifference() {
        const auto form = OpenInWindow(path_, settings_->path());
        QStringList statusWhileComparing;
        bool enabledWhileComparing = false;
        connect(&form->session(), &TArchiveSession::jobProgress, form.get(), [&] {
            statusWhileComparing << Child<TStatusBar>(*form, "statusBar")->statusText();
            enabledWhileComparing |= form->isEnabled();
        });
        form->compareChoice = path_;
        Action(*form, Command::Compare)->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(form->results.size(), 1, kJobTimeout);
        const QStringList rows = {
            ResultRow(sample_facts::Total(sample_, &sample::SampleLevel::texts), "texts", 0),
            ResultRow(sample_facts::Total(sample_, &sample::SampleLevel::windowedTexts),
                      "windowed texts", 0),
            ResultRow(sample_facts::Total(sample_, &sample::SampleLevel::windowLinks), "windows",
                      0),
        };
        QCOMPARE(form->results.first(), rows);
        // Without an original, the archive compared with becomes it, read once the result has
        // been shown.
        QTRY_VERIFY_WITH_TIMEOUT(form->session().translationMarks().hasOriginal(), kJobTimeout);
        QVERIFY(WaitForJob(*form));
        QCOMPARE(form->session().translationMarks().originalPath(), path_);
        QCOMPARE(statusWhileComparing.first(), QStringLiteral("Files comparing..."));
        QVERIFY(!enabledWhileComparing);
        QVERIFY(form->isEnabled());
        QVERIFY(Child<TStatusBar>(*form, "statusBar")->statusText().isEmpty());
        QCOMPARE(Marks(*form), QStringList());

        QVERIFY(Action(*form, Command::DisplayLastComparison)->isEnabled());
        Action(*form, Command::DisplayLastComparison)->trigger();
        QCOMPARE(form->results, (QList<QStringList>{rows, rows}));
    }

    void unsavedEditsAreComparedMarkedAndWalkedThrough() {
        // Two texts without windows and one with a window, in three levels, edited in another
        // order than the table's.
        std::vector<sample_facts::TextPlace> edited;
        for (const bool windowed : {false, false, true}) {
            edited.push_back(
                sample_facts::FindText(sample_, [&](const sample::SampleLevel& level, int text) {
                    const int subFile = sample_.TableIndex(level.name);
                    return (level.textWindows[static_cast<std::size_t>(text)] > 0) == windowed &&
                           std::ranges::none_of(edited, [subFile](sample_facts::TextPlace place) {
                               return place.subFile == subFile;
                           });
                }));
            QVERIFY(edited.back().subFile >= 0);
        }
        const auto form = OpenInWindow(path_, settings_->path());
        for (auto place = edited.rbegin(); place != edited.rend(); ++place) Append(*form, *place);
        form->compareChoice = path_;
        Action(*form, Command::Compare)->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(form->results.size(), 1, kJobTimeout);
        QCOMPARE(
            form->results.first(),
            (QStringList{
                ResultRow(sample_facts::Total(sample_, &sample::SampleLevel::texts), "texts", 3),
                ResultRow(sample_facts::Total(sample_, &sample::SampleLevel::windowedTexts),
                          "windowed texts", 1),
                ResultRow(sample_facts::Total(sample_, &sample::SampleLevel::windowLinks),
                          "windows", 0),
            }));
        std::ranges::sort(edited, [](sample_facts::TextPlace a, sample_facts::TextPlace b) {
            return a.subFile < b.subFile;
        });
        const QStringList marks = {PlaceText(edited[0]), PlaceText(edited[1]),
                                   PlaceText(edited[2])};
        QCOMPARE(Marks(*form), marks);

        // From a file that is no level, F4 walks the marks forwards, Shift+F4 backwards,
        // stopping at either end.
        QCOMPARE(Action(*form, Command::NextMarkedText)->shortcut(), QKeySequence(Qt::Key_F4));
        QCOMPARE(Action(*form, Command::PreviousMarkedText)->shortcut(),
                 QKeySequence(Qt::SHIFT | Qt::Key_F4));
        form->session().selectSubFile(0);
        const QList<std::pair<Command, QString>> steps = {
            {Command::NextMarkedText, marks[0]},     {Command::NextMarkedText, marks[1]},
            {Command::NextMarkedText, marks[2]},     {Command::NextMarkedText, marks[2]},
            {Command::PreviousMarkedText, marks[1]}, {Command::PreviousMarkedText, marks[0]},
            {Command::PreviousMarkedText, marks[0]},
        };
        for (const auto& [command, selected] : steps) {
            Action(*form, command)->trigger();
            QCOMPARE(Selected(*form), selected);
        }
        // The texts list shows the marks of the level shown: one text of each level is marked.
        Action(*form, Command::NextMarkedText)->trigger();
        const QAbstractItemModel* texts = Child<QAbstractItemView>(*form, "textsView")->model();
        int marked = 0;
        for (int row = 0; row < texts->rowCount(); ++row) {
            marked += texts->index(row, 0).data(TTextsListModel::kCompareMarkRole).toBool();
        }
        QCOMPARE(marked, 1);
        QVERIFY(texts->index(edited[1].text, 0).data(TTextsListModel::kCompareMarkRole).toBool());
    }

    void anUnreadableReferenceMarksNothing() {
        const auto form = OpenInWindow(path_, settings_->path());
        Append(*form, sample_facts::FindText(sample_,
                                             [](const sample::SampleLevel&, int) { return true; }));
        const QString missing = folder_.filePath(QStringLiteral("missing.lgp"));
        form->compareChoice = missing;
        Action(*form, Command::Compare)->trigger();
        QVERIFY(WaitForJob(*form));
        QCOMPARE(form->errors, QStringList{QStringLiteral("Invalid file.")});
        QVERIFY(form->details.first().startsWith(missing + QStringLiteral(": ")));
        QVERIFY(form->isEnabled());
        QVERIFY(Child<TStatusBar>(*form, "statusBar")->statusText().isEmpty());
        QCOMPARE(Marks(*form), QStringList());
        QCoreApplication::processEvents();
        QVERIFY(form->results.isEmpty());

        // A cancelled choice compares nothing.
        form->compareChoice.clear();
        Action(*form, Command::Compare)->trigger();
        QVERIFY(!form->session().jobRunning());
    }

private:
    QTemporaryDir folder_;
    std::unique_ptr<QTemporaryDir> settings_;
    sample::SampleArchive sample_;
    QString path_;
};

QTEST_MAIN(CompareControllerTest)
#include "compare_controller_test.moc"
