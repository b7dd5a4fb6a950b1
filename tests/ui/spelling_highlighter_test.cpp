#include <filesystem>
#include <fstream>
#include <memory>

#include <QAction>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include "spelling/dictionaries.h"
#include "spelling/spell_checker.h"
#include "spelling/user_word_list.h"
#include "tests/temporary_path.h"
#include "tests/ui/context_menu.h"
#include "ui/spelling_highlighter.h"
#include "ui/spelling_menu.h"

namespace fs = std::filesystem;

namespace {

// The underlined ranges of a block as "start+length" strings.
QStringList Underlined(const QTextBlock& block) {
    QStringList ranges;
    for (const QTextLayout::FormatRange& range : block.layout()->formats()) {
        if (range.format.underlineStyle() == QTextCharFormat::SpellCheckUnderline) {
            ranges << QString("%1+%2").arg(range.start).arg(range.length);
        }
    }
    return ranges;
}

// An editor holding `text`, underlined with a checker.
struct CheckedEditor {
    CheckedEditor(const char* text, spelling::SpellChecker& checker)
        : highlighter(editor.document()) {
        editor.setPlainText(text);
        highlighter.setChecker(&checker);
    }

    QPlainTextEdit editor;
    ui::SpellingHighlighter highlighter;
};

}  // namespace

class SpellingHighlighterTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        fs::create_directories(folder_);
        std::ofstream(folder_ / "tiny.aff") << "SET UTF-8\nTRY esianrtolcdugmphbyfvkwz\n";
        std::ofstream(folder_ / "tiny.dic") << "5\nhello\ncaf\xC3\xA9\nthe\nshop\nworld\n";
        checker_ =
            std::make_unique<spelling::SpellChecker>(*spelling::FindDictionary("tiny", {folder_}));
    }
    void cleanupTestCase() { fs::remove_all(folder_); }

    // Tags and names are never underlined; an accented misspelling is.
    void underlinesOnlyMisspelledWords() {
        QTextDocument document(QString::fromUtf8("{CLOUD}: \u201cHelo, Tifa! The {RED}shop\u201d\n"
                                                 "Cait Sith's caf\u00e8 %3world{NEW PAGE}"));
        ui::SpellingHighlighter highlighter(&document);
        QVERIFY(Underlined(document.firstBlock()).isEmpty());
        highlighter.setChecker(checker_.get());
        QCOMPARE(Underlined(document.firstBlock()), QStringList{"10+4"});
        QCOMPARE(Underlined(document.lastBlock()), QStringList{"12+4"});
        highlighter.setChecker(nullptr);
        QVERIFY(Underlined(document.firstBlock()).isEmpty());
    }

    void menuOffersSuggestionsIgnoreAndAdd() {
        CheckedEditor checked("The helo shop, worlld", *checker_);
        QPlainTextEdit& editor = checked.editor;
        ui::SpellingHighlighter& highlighter = checked.highlighter;
        const spelling::UserWordList words(folder_ / "user" / "words.txt");

        QMenu onTag(&editor);
        QVERIFY(!ui::SpellingMenu::addEntries(&onTag, &editor, 1, *checker_, words, &highlighter));
        QVERIFY(onTag.actions().isEmpty());

        QMenu menu(&editor);
        QVERIFY(ui::SpellingMenu::addEntries(&menu, &editor, 6, *checker_, words, &highlighter));
        const QStringList texts = ActionTexts(menu);
        QCOMPARE(texts.first(), QString("hello"));
        QCOMPARE(texts.mid(texts.size() - 3),
                 (QStringList{"-", "Ignore", "Add to dictionary"}));
        menu.actions().first()->trigger();
        QCOMPARE(editor.toPlainText(), QString("The hello shop, worlld"));
        QCOMPARE(Underlined(editor.document()->firstBlock()), QStringList{"16+6"});

        QMenu second(&editor);
        QVERIFY(ui::SpellingMenu::addEntries(&second, &editor, 18, *checker_, words, &highlighter));
        second.actions().last()->trigger();
        QVERIFY(Underlined(editor.document()->firstBlock()).isEmpty());
        QCOMPARE(words.Words(), std::vector<std::string>{"worlld"});
    }

    // A read-only editor's text stays as it is: its suggestions are disabled, and one chosen
    // after the editor became read-only while the menu was open changes nothing.
    void suggestionsLeaveAReadOnlyTextAlone() {
        CheckedEditor checked("The helo shop", *checker_);
        QPlainTextEdit& editor = checked.editor;
        ui::SpellingHighlighter& highlighter = checked.highlighter;
        const spelling::UserWordList words(folder_ / "user" / "read_only.txt");

        editor.setReadOnly(true);
        QMenu closed(&editor);
        QVERIFY(ui::SpellingMenu::addEntries(&closed, &editor, 6, *checker_, words, &highlighter));
        QAction* suggestion = closed.actions().first();
        QCOMPARE(suggestion->text(), QString("hello"));
        QVERIFY(!suggestion->isEnabled());
        suggestion->trigger();
        QCOMPARE(editor.toPlainText(), QString("The helo shop"));

        editor.setReadOnly(false);
        QMenu open(&editor);
        QVERIFY(ui::SpellingMenu::addEntries(&open, &editor, 6, *checker_, words, &highlighter));
        QVERIFY(open.actions().first()->isEnabled());
        editor.setReadOnly(true);
        open.actions().first()->trigger();
        QCOMPARE(editor.toPlainText(), QString("The helo shop"));
        // Ignoring a word changes no text: it is offered still.
        QVERIFY(open.actions().at(open.actions().size() - 2)->isEnabled());
    }

private:
    const fs::path folder_ = test_support::TemporaryPath("ui_dictionaries");
    std::unique_ptr<spelling::SpellChecker> checker_;
};

QTEST_MAIN(SpellingHighlighterTest)
#include "spelling_highlighter_test.moc"
