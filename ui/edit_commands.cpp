#include "ui/edit_commands.h"

#include <QAction>

#include "ui/archive_session.h"
#include "ui/main_menu.h"
#include "ui/text_editor_pane.h"

namespace {

using Command = TMainMenu::Command;

}  // namespace

TEditCommands::TEditCommands(TMainMenu& menu, TTextEditorPane& editor, TArchiveSession& session,
                             QObject* parent)
    : QObject(parent), menu_(menu), editor_(editor), session_(session) {
    const auto on = [this](Command command, void (TTextEditorPane::*run)()) {
        connect(menu_.action(command), &QAction::triggered, &editor_, run);
    };
    on(Command::Undo, &TTextEditorPane::undo);
    on(Command::Redo, &TTextEditorPane::redo);
    on(Command::Cut, &TTextEditorPane::cut);
    on(Command::Copy, &TTextEditorPane::copy);
    on(Command::Paste, &TTextEditorPane::paste);
    on(Command::SelectAll, &TTextEditorPane::selectAll);
    connect(menu_.action(Command::FitWindowToText), &QAction::triggered, &session_,
            &TArchiveSession::fitCurrentWindow);
    editor_.setHistoryActions(menu_.action(Command::Undo), menu_.action(Command::Redo));
    // Cut and Copy follow the editor as it tells what it can do.
    for (const Command command : {Command::Cut, Command::Copy}) {
        connect(&editor_, &TTextEditorPane::copyAvailable, menu_.action(command),
                &QAction::setEnabled);
    }
    connect(&editor_, &TTextEditorPane::editingChanged, this, &TEditCommands::update);
    for (const auto changed : {&TArchiveSession::historyChanged, &TArchiveSession::windowSelected,
                               &TArchiveSession::textSelected}) {
        connect(&session_, changed, this, &TEditCommands::update);
    }
}

void TEditCommands::update() {
    const bool editing = editor_.isEditing();
    menu_.action(Command::Paste)->setEnabled(editing);
    menu_.action(Command::SelectAll)->setEnabled(editing);
    if (!editing) {
        for (const Command command : {Command::Cut, Command::Copy}) {
            menu_.action(command)->setEnabled(false);
        }
    }
    menu_.action(Command::Undo)->setEnabled(session_.canUndo());
    menu_.action(Command::Redo)->setEnabled(session_.canRedo());
    menu_.action(Command::FitWindowToText)
        ->setEnabled(session_.currentWindow() != nullptr && !session_.jobRunning() &&
                     !session_.isLevelReadOnly(session_.currentSubFileIndex()));
}
