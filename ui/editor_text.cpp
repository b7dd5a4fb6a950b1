#include "ui/editor_text.h"

#include "jobs/qt_strings.h"

namespace editor_text {
namespace {

constexpr std::string_view kCrLf = "\r\n";

bool IsEditorLineBreak(QChar c) {
    return c == QChar::ParagraphSeparator || c == QChar::LineSeparator || c == u'\n';
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

}  // namespace editor_text
