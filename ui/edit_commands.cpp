#include "ui/edit_commands.h"

#include <QAction>

#include "ui/main_menu.h"
#include "ui/text_editor_pane.h"

namespace {

using Command = TMainMenu::Command;

}  // namespace

TEditCommands::TEditCommands(TMainMenu& menu, TTextEditorPane& editor, QObject* parent)
    : QObject(parent), menu_(menu), editor_(editor) {
    const auto on = [this](Command command, void (TTextEditorPane::*run)()) {
        connect(menu_.action(command), &QAction::triggered, &editor_, run);
    };
    on(Command::Undo, &TTextEditorPane::undo);
    on(Command::Redo, &TTextEditorPane::redo);
    on(Command::Cut, &TTextEditorPane::cut);
    on(Command::Copy, &TTextEditorPane::copy);
    on(Command::Paste, &TTextEditorPane::paste);
    on(Command::SelectAll, &TTextEditorPane::selectAll);
    // Undo, Redo, Cut and Copy follow the editor as it tells what it can do.
    const auto follow = [this](void (TTextEditorPane::*available)(bool), Command command) {
        connect(&editor_, available, menu_.action(command), &QAction::setEnabled);
    };
    follow(&TTextEditorPane::undoAvailable, Command::Undo);
    follow(&TTextEditorPane::redoAvailable, Command::Redo);
    follow(&TTextEditorPane::copyAvailable, Command::Cut);
    follow(&TTextEditorPane::copyAvailable, Command::Copy);
    connect(&editor_, &TTextEditorPane::editingChanged, this, &TEditCommands::update);
}

void TEditCommands::update() {
    const bool editing = editor_.isEditing();
    menu_.action(Command::Paste)->setEnabled(editing);
    menu_.action(Command::SelectAll)->setEnabled(editing);
    if (!editing) {
        for (const Command command : {Command::Undo, Command::Redo, Command::Cut, Command::Copy}) {
            menu_.action(command)->setEnabled(false);
        }
    }
}
