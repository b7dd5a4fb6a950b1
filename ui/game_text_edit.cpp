#include "ui/game_text_edit.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>

#include "ui/editor_text.h"
#include "ui/interface_texts.h"

namespace {

// key: "character_not_typed" or "characters_left_out".
QString Notice(const char* key, const QString& missing) {
    return ui::InterfaceText("messages", key).arg(ui::DescribeCharacters(missing));
}

}  // namespace

TGameTextEdit::TGameTextEdit(QWidget* parent) : QPlainTextEdit(parent) {}

void TGameTextEdit::setFieldKeys(bool field) {
    fieldKeys_ = field;
    setTabChangesFocus(field);
}

void TGameTextEdit::keyPressEvent(QKeyEvent* event) {
    if (fieldKeys_) {
        const int key = event->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (event->modifiers().testFlag(Qt::ShiftModifier)) {
                if (!isReadOnly()) insertPlainText(QStringLiteral("\n"));
            } else {
                // The dialog runs its default button.
                event->ignore();
            }
            return;
        }
        if (key == Qt::Key_Tab && event->modifiers().testFlag(Qt::ControlModifier)) {
            if (!isReadOnly()) insertPlainText(QStringLiteral("\t"));
            return;
        }
    }
    const QString typed = event->text();
    // Control characters come with shortcuts, which insert nothing.
    if (!isReadOnly() && !typed.isEmpty() && !typed.front().isNull() &&
        (typed.front().isPrint() || typed.front().isSurrogate())) {
        const ui::StorableSplit split = ui::SplitStorable(typed);
        if (!split.missing.isEmpty()) {
            emit charactersLeftOut(Notice("character_not_typed", split.missing));
            return;
        }
    }
    QPlainTextEdit::keyPressEvent(event);
}

void TGameTextEdit::inputMethodEvent(QInputMethodEvent* event) {
    const ui::StorableSplit split = ui::SplitStorable(event->commitString());
    if (isReadOnly() || split.missing.isEmpty()) {
        QPlainTextEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent kept(event->preeditString(), event->attributes());
    kept.setCommitString(split.kept, event->replacementStart(), event->replacementLength());
    QPlainTextEdit::inputMethodEvent(&kept);
    emit charactersLeftOut(Notice("character_not_typed", split.missing));
}

void TGameTextEdit::insertFromMimeData(const QMimeData* source) {
    // Plain text alone goes in, as the box shows no formatting.
    const ui::StorableSplit split = ui::SplitStorable(source->text());
    if (isReadOnly() || split.missing.isEmpty()) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    QMimeData kept;
    kept.setText(split.kept);
    QPlainTextEdit::insertFromMimeData(&kept);
    emit charactersLeftOut(Notice("characters_left_out", split.missing));
}
