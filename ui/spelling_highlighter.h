#pragma once

#include <string>
#include <vector>

#include <QString>
#include <QSyntaxHighlighter>

class QTextDocument;

namespace spelling {
class SpellChecker;
}  // namespace spelling

namespace ui {

// Underlines the misspelled words of the text editor, as spell checkers do: a word is checked
// as tagged text (Windows-1252), so tags, placeholders, the characters' names and the game's
// special characters are never underlined. Off until a checker is given.
class SpellingHighlighter : public QSyntaxHighlighter {
    Q_OBJECT

public:
    // A checked word of one block (line) of the editor: where it stands in the block's
    // characters, and its Windows-1252 text.
    struct BlockWord {
        int start = 0;
        int length = 0;
        std::string word;
    };

    explicit SpellingHighlighter(QTextDocument* document);

    // Checks with `checker` from now on and underlines again; null turns the underlining off.
    // The checker must outlive its use here.
    void setChecker(const spelling::SpellChecker* checker);
    const spelling::SpellChecker* checker() const { return checker_; }

    // The checked words of a block's text, or only those the checker does not know.
    static std::vector<BlockWord> blockWords(const QString& block,
                                             const spelling::SpellChecker* misspelledFor = nullptr);

protected:
    void highlightBlock(const QString& text) override;

private:
    const spelling::SpellChecker* checker_ = nullptr;
};

}  // namespace ui
