#include "ui/spelling_menu.h"

#include <stdexcept>
#include <string>

#include <QAction>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "jobs/qt_strings.h"
#include "spelling/spell_checker.h"
#include "spelling/user_word_list.h"
#include "ui/interface_texts.h"
#include "ui/spelling_highlighter.h"

namespace ui {

bool SpellingMenu::addEntries(QMenu* menu, QPlainTextEdit* editor, int position,
                              spelling::SpellChecker& checker, const spelling::UserWordList& words,
                              SpellingHighlighter* highlighter) {
    const QTextBlock block = editor->document()->findBlock(position);
    if (!block.isValid()) return false;
    const int inBlock = position - block.position();
    SpellingHighlighter::BlockWord found;
    bool misspelled = false;
    for (SpellingHighlighter::BlockWord& word :
         SpellingHighlighter::blockWords(block.text(), &checker)) {
        if (inBlock >= word.start && inBlock <= word.start + word.length) {
            found = std::move(word);
            misspelled = true;
            break;
        }
    }
    if (!misspelled) return false;

    const int start = block.position() + found.start;
    const int end = start + found.length;
    // A cursor writes into the document even while the editor is read-only.
    const QPointer<QPlainTextEdit> target(editor);
    const std::vector<std::string> suggestions = checker.Suggestions(found.word);
    for (std::size_t i = 0; i < suggestions.size() && i < kMostSuggestions; ++i) {
        const QString replacement = jobs::fromWindows1252(suggestions[i]);
        QAction* suggestion = menu->addAction(replacement, [target, start, end, replacement] {
            if (target.isNull() || target->isReadOnly()) return;
            QTextCursor cursor(target->document());
            cursor.setPosition(start);
            cursor.setPosition(end, QTextCursor::KeepAnchor);
            cursor.insertText(replacement);
        });
        suggestion->setEnabled(!editor->isReadOnly());
    }
    if (suggestions.empty()) {
        menu->addAction(InterfaceText("main", "no_suggestions"))->setEnabled(false);
    }
    menu->addSeparator();

    const QPointer<SpellingHighlighter> underlining(highlighter);
    const std::string word = found.word;
    spelling::SpellChecker* checking = &checker;
    menu->addAction(InterfaceText("main", "ignore"), [checking, word, underlining] {
        checking->Ignore(word);
        if (!underlining.isNull()) underlining->rehighlight();
    });
    const spelling::UserWordList list = words;
    const QPointer<QWidget> parent = menu->parentWidget();
    menu->addAction(InterfaceText("main", "add_to_dictionary"),
                    [checking, word, underlining, list, parent] {
                        checking->Accept(word);
                        if (!underlining.isNull()) underlining->rehighlight();
                        try {
                            list.Add(word);
                        } catch (const std::runtime_error& error) {
                            QMessageBox::warning(parent, InterfaceText("main", "add_to_dictionary"),
                                                 InterfaceText("messages", "word_not_added") +
                                                     ": " + jobs::fromUtf8(error.what()) +
                                                     '.');
                        }
                    });
    return true;
}

}  // namespace ui
