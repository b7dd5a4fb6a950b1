#pragma once

#include <QDialog>
#include <QMessageBox>
#include <QString>

#include "lgp/text_search.h"

class QCheckBox;
class QPushButton;
class TGameTextEdit;

// What the find and replace dialogs share: a search box with the Find, Next and Previous
// buttons and the match-case check box. The dialog stays on top of other windows with a fixed
// size, opens centred over its parent with the whole search text selected, and is shown and
// hidden, never recreated. It is worked from the keyboard: Enter runs the default button (Find,
// then Next once Find has run, Find again once the search text changes), Tab and Shift+Tab
// move between the fields and buttons, Escape closes, and every button has a mnemonic. The
// fields take no character that the game lacks.
class TSearchDialog : public QDialog {
    Q_OBJECT

public:
    // The search box's text as the editor holds it (line breaks as "\n").
    QString searchText() const;
    void setSearchText(const QString& text);
    bool matchCase() const;
    // What the Next and Previous buttons do; the main window's "Find next" and "Find
    // previous" call them.
    void findNext();
    void findPrevious();

    // Shows text, and detail under it when given, in a message box with an OK button over the
    // dialog (over its parent while the dialog is hidden). The dialog gives up staying on top
    // while the message shows, so that the message is not hidden behind it.
    void showMessage(QMessageBox::Icon icon, const QString& text, const QString& detail = {});
    // Asks a question with Yes (the default) and No over the dialog, as showMessage shows a
    // message; true for Yes.
    bool ask(const QString& question);

signals:
    // A search asked for with the search box's text (line breaks as "\n").
    void findRequested(const QString& search, bool matchCase, lgp::FindMode mode);
    // A field did not take characters that the game lacks; notice names them.
    void charactersLeftOut(const QString& notice);

protected:
    // searchEditName: the object name of the search box.
    TSearchDialog(const QString& objectName, const QString& searchEditName, int clientWidth,
                  int clientHeight, QWidget* parent);

    void showEvent(QShowEvent* event) override;
    // Reads every caption again when the interface's language changes.
    void changeEvent(QEvent* event) override;
    // Reads every caption from ui::InterfaceText.
    virtual void retranslate();
    // Runs the message box modally; tests answer it instead.
    virtual void execMessage(QMessageBox& box);
    // Enables the buttons that need a search text; called whenever it changes.
    virtual void updateButtons();

    // A text box for search and replacement texts, with a field's keys: tabs and line breaks
    // typed with Ctrl+Tab and Shift+Enter; no word wrap.
    TGameTextEdit* makeEdit(const QString& objectName);
    QPushButton* makeButton(const QString& objectName);

    TGameTextEdit* searchEdit_;
    QPushButton* findButton_;
    QPushButton* nextButton_;
    QPushButton* previousButton_;
    QCheckBox* matchCaseBox_;

private:
    // Widens the dialog where the captions of the current language need more than its width.
    void fitToCaptions();

    const int clientWidth_;
    const int clientHeight_;
    // Runs a message box over the dialog, which meanwhile does not stay on top.
    void runMessage(QMessageBox& box);
};
