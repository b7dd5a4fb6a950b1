#pragma once

#include <QPlainTextEdit>

// A plain-text box for the game's texts and for what is searched in them, which never takes a
// character that the game has no code for, so that nothing is stored as a space or a "?"
// unseen: typed, such a character is dropped; pasted or dropped with other text, the rest goes
// in. `charactersLeftOut` names what was not taken, for the status bar.
//
// As a dialog's field, Enter and Return go to the dialog (its default button), Shift+Enter
// types a line break, Tab and Shift+Tab move the focus and Ctrl+Tab types a tab.
class TGameTextEdit : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit TGameTextEdit(QWidget* parent = nullptr);

    // The keys of a dialog's field, or those of a text editor (the default).
    void setFieldKeys(bool field);

signals:
    // A sentence in the current language naming the characters not taken.
    void charactersLeftOut(const QString& notice);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    bool fieldKeys_ = false;
};
