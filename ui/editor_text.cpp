#include "ui/editor_text.h"

#include <QStringList>

#include "jobs/qt_strings.h"
#include "text/text_encoder.h"

namespace ui {

namespace {

constexpr std::string_view kCrLf = "\r\n";

bool IsEditorLineBreak(QChar c) {
    return c == QChar::ParagraphSeparator || c == QChar::LineSeparator || c == u'\n';
}

// True for a character of the editor's form that the game can store. A CR comes with pasted
// text, where the editor makes it a line break.
bool IsStorable(const QString& character) {
    const QChar first = character.front();
    if (IsEditorLineBreak(first) || first == u'\r' || first == kNulStandIn) return true;
    const text::Windows1252Text converted = jobs::toWindows1252(character);
    return converted.replaced == 0 && converted.text.size() == 1 &&
           text::HasCharacterCode(converted.text.front());
}

// The character at i: one UTF-16 unit, or two for a surrogate pair.
QString CharacterAt(const QString& text, qsizetype i) {
    const bool pair =
        text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
    return text.mid(i, pair ? 2 : 1);
}

}  // namespace

QString TaggedToEditor(std::string_view tagged) {
    QString editor = jobs::fromWindows1252(tagged);
    editor.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    editor.replace(QChar(u'\0'), kNulStandIn);
    return editor;
}

std::string EditorToTagged(const QString& editor) {
    QString tagged;
    tagged.reserve(editor.size());
    for (const QChar c : editor) {
        if (IsEditorLineBreak(c)) {
            tagged += QLatin1String(kCrLf.data(), static_cast<qsizetype>(kCrLf.size()));
        } else if (c == kNulStandIn) {
            tagged += QChar(u'\0');
        } else {
            tagged += c;
        }
    }
    return jobs::toWindows1252(tagged).text;
}

int EditorPosition(std::string_view tagged, std::size_t taggedPosition) {
    const std::string_view before = tagged.substr(0, taggedPosition);
    int breaks = 0;
    for (std::size_t at = before.find(kCrLf); at != std::string_view::npos;
         at = before.find(kCrLf, at + kCrLf.size())) {
        ++breaks;
    }
    // Inside a CR LF: the break's own position.
    const bool insideBreak = taggedPosition > 0 && taggedPosition < tagged.size() &&
                             tagged[taggedPosition - 1] == '\r' && tagged[taggedPosition] == '\n';
    return static_cast<int>(before.size()) - breaks - (insideBreak ? 1 : 0);
}

std::size_t TaggedPosition(const QString& editor, int editorPosition) {
    std::size_t position = 0;
    for (int i = 0; i < editorPosition && i < editor.size(); ++i) {
        position += IsEditorLineBreak(editor[i]) ? kCrLf.size() : 1;
        // A character beyond the BMP takes two UTF-16 units but becomes one replacement byte.
        if (editor[i].isHighSurrogate() && i + 1 < editor.size() &&
            editor[i + 1].isLowSurrogate()) {
            ++i;
        }
    }
    return position;
}

StorableSplit SplitStorable(const QString& editor) {
    StorableSplit split;
    split.kept.reserve(editor.size());
    for (qsizetype i = 0; i < editor.size();) {
        const QString character = CharacterAt(editor, i);
        i += character.size();
        if (IsStorable(character)) {
            split.kept += character;
        } else if (!split.missing.contains(character)) {
            split.missing += character;
        }
    }
    return split;
}

QString DescribeCharacters(const QString& characters) {
    QStringList described;
    for (qsizetype i = 0; i < characters.size();) {
        const QString character = CharacterAt(characters, i);
        i += character.size();
        const char32_t codePoint = character.toUcs4().front();
        const QString code =
            QStringLiteral("U+%1").arg(static_cast<uint>(codePoint), 4, 16, QChar(u'0')).toUpper();
        const bool shows = QChar::isPrint(codePoint) && !QChar::isSpace(codePoint);
        described << (shows ? character + QStringLiteral(" (") + code + u')' : code);
    }
    return described.join(QStringLiteral(", "));
}

}  // namespace ui
