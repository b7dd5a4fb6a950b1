#pragma once

#include <QObject>

class TMainMenu;
class TTextEditorPane;

// The Edit menu's editing commands (Undo, Redo, Cut, Copy, Paste, Select all) acting on the text
// editor, each enabled while the editor can do it: none while no text is being edited.
class TEditCommands : public QObject {
    Q_OBJECT

public:
    // The menu and the editor must outlive it.
    TEditCommands(TMainMenu& menu, TTextEditorPane& editor, QObject* parent = nullptr);

    // Enables the commands for the editor's current state.
    void update();

private:
    TMainMenu& menu_;
    TTextEditorPane& editor_;
};
