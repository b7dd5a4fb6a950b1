#include "ui/spelling_highlighter.h"

#include <QColor>
#include <QTextCharFormat>

#include "jobs/qt_strings.h"
#include "spelling/spell_checker.h"
#include "spelling/text_words.h"
#include "text/windows1252.h"
#include "ui/editor_text.h"

namespace ui {

namespace {

// A block's text as tagged text, one byte per character of the block: a character outside
// Windows-1252 (half of a surrogate pair among them) becomes the replacement character, so
// that byte positions are character positions.
std::string BlockBytes(const QString& block) {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(block.size()));
    for (const QChar c : block) {
        const char16_t unit = c.unicode();
        if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) {
            bytes += static_cast<char>(unit);
        } else if (c == kNulStandIn) {
            bytes += '\0';
        } else {
            const text::Windows1252Text converted = jobs::toWindows1252(QString(c));
            bytes += converted.text.size() == 1 ? converted.text[0] : text::kReplacementChar;
        }
    }
    return bytes;
}

}  // namespace

SpellingHighlighter::SpellingHighlighter(QTextDocument* document) : QSyntaxHighlighter(document) {}

void SpellingHighlighter::setChecker(const spelling::SpellChecker* checker) {
    checker_ = checker;
    rehighlight();
}

std::vector<SpellingHighlighter::BlockWord> SpellingHighlighter::blockWords(
    const QString& block, const spelling::SpellChecker* misspelledFor) {
    const std::string bytes = BlockBytes(block);
    const std::vector<spelling::TextWord> words =
        misspelledFor != nullptr ? spelling::MisspelledWords(bytes, *misspelledFor)
                                 : spelling::CheckedWords(bytes);
    std::vector<BlockWord> result;
    result.reserve(words.size());
    for (const spelling::TextWord& word : words) {
        result.push_back({static_cast<int>(word.start), static_cast<int>(word.length),
                          bytes.substr(word.start, word.length)});
    }
    return result;
}

void SpellingHighlighter::highlightBlock(const QString& text) {
    if (checker_ == nullptr) return;
    QTextCharFormat misspelled;
    misspelled.setUnderlineStyle(QTextCharFormat::SpellCheckUnderline);
    misspelled.setUnderlineColor(QColor(Qt::red));
    for (const BlockWord& word : blockWords(text, checker_)) {
        setFormat(word.start, word.length, misspelled);
    }
}

}  // namespace ui
