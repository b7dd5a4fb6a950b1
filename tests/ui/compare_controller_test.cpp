#include "ui/compare_controller.h"

#include <memory>

#include <QAbstractItemView>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QtTest>

#include "sample/sample_archive.h"
#include "tests/ui/answered_main_form.h"
#include "ui/status_bar.h"
#include "ui/texts_list_model.h"
#include "ui/translation_marks.h"

namespace {

using Command = TMainMenu::Command;

// Table indices of the six-level demo archive's levels with texts.
constexpr int kAncnt3 = 2;
constexpr int kAnfrst1 = 4;
constexpr int kAnfrst4 = 7;

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
void Append(TMainForm& form, int subFile, int text) {
    form.session().selectSubFile(subFile);
    form.session().selectText(text);
    Editor(form)->moveCursor(QTextCursor::End);
    QTest::keyClicks(Editor(form), QStringLiteral("!"));
}

QString Selected(const TMainForm& form) {
    return QStringLiteral("%1:%2")
        .arg(form.session().currentSubFileIndex())
        .arg(form.session().currentText());
}

}  // namespace

class CompareControllerTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QVERIFY(folder_.isValid());
        path_ = folder_.filePath(QStringLiteral("levels.lgp"));
        sample::WriteSampleArchive(path_.toStdString(), {.levels = 6});
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
            QStringLiteral("65 texts | 65 texts | 0 | 0.00 %"),
            QStringLiteral("58 windowed texts | 58 windowed texts | 0 | 0.00 %"),
            QStringLiteral("60 windows | 60 windows | 0 | 0.00 %"),
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
        const auto form = OpenInWindow(path_, settings_->path());
        // Two texts without windows, one with a window.
        Append(*form, kAnfrst4, 1);
        Append(*form, kAnfrst1, 5);
        Append(*form, kAncnt3, 0);
        form->compareChoice = path_;
        Action(*form, Command::Compare)->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(form->results.size(), 1, kJobTimeout);
        QCOMPARE(form->results.first(),
                 (QStringList{
                     QStringLiteral("65 texts | 65 texts | 3 | 4.62 %"),
                     QStringLiteral("58 windowed texts | 58 windowed texts | 1 | 1.72 %"),
                     QStringLiteral("60 windows | 60 windows | 0 | 0.00 %"),
                 }));
        QCOMPARE(Marks(*form), (QStringList{"2:0", "4:5", "7:1"}));

        // From a file that is no level, F4 walks the marks forwards, Shift+F4 backwards,
        // stopping at either end.
        QCOMPARE(Action(*form, Command::NextMarkedText)->shortcut(), QKeySequence(Qt::Key_F4));
        QCOMPARE(Action(*form, Command::PreviousMarkedText)->shortcut(),
                 QKeySequence(Qt::SHIFT | Qt::Key_F4));
        form->session().selectSubFile(0);
        const QList<std::pair<Command, QString>> steps = {
            {Command::NextMarkedText, "2:0"},     {Command::NextMarkedText, "4:5"},
            {Command::NextMarkedText, "7:1"},     {Command::NextMarkedText, "7:1"},
            {Command::PreviousMarkedText, "4:5"}, {Command::PreviousMarkedText, "2:0"},
            {Command::PreviousMarkedText, "2:0"},
        };
        for (const auto& [command, selected] : steps) {
            Action(*form, command)->trigger();
            QCOMPARE(Selected(*form), selected);
        }
        // The texts list shows the marks of the level shown.
        Action(*form, Command::NextMarkedText)->trigger();
        const QAbstractItemModel* texts = Child<QAbstractItemView>(*form, "textsView")->model();
        QVERIFY(texts->index(5, 0).data(TTextsListModel::kCompareMarkRole).toBool());
        QVERIFY(!texts->index(4, 0).data(TTextsListModel::kCompareMarkRole).toBool());
    }

    void anUnreadableReferenceMarksNothing() {
        const auto form = OpenInWindow(path_, settings_->path());
        Append(*form, kAnfrst1, 5);
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
    QString path_;
};

QTEST_MAIN(CompareControllerTest)
#include "compare_controller_test.moc"
