#pragma once

#include <QObject>

class TArchiveSession;
class TMainMenu;
class TTextEditorPane;

// The Edit menu's editing commands, each enabled while it can be done: Undo and Redo walk the
// session's history of the whole archive; Cut, Copy, Paste and Select all act on the text
// editor, none while no text is being edited; "Fit window to text" fits the selected window
// to its texts, as a step of the history.
class TEditCommands : public QObject {
    Q_OBJECT

public:
    // The menu, the editor and the session must outlive it.
    TEditCommands(TMainMenu& menu, TTextEditorPane& editor, TArchiveSession& session,
                  QObject* parent = nullptr);

    // Enables the commands for the editor's and the session's current state.
    void update();

private:
    TMainMenu& menu_;
    TTextEditorPane& editor_;
    TArchiveSession& session_;
};
