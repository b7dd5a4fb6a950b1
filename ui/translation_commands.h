#pragma once

#include <QObject>

class TArchiveSession;
class TMainMenu;
class TTextEditorPane;

// The Edit menu's commands of a translation against its original: "Copy original" puts the
// selected text's original in the editor in place of the whole text, as one edit of the
// editor (one text stored in the session, undone at once); "Next untranslated text" and
// "Previous untranslated text" select the next text whose bytes are still the original's, in
// table order, going on from the archive's start after its end. Enabled while an original is
// set, Copy original while a text that has an original is being edited.
class TTranslationCommands : public QObject {
    Q_OBJECT

public:
    // The session, the menu and the editor must outlive it.
    TTranslationCommands(TArchiveSession& session, TMainMenu& menu, TTextEditorPane& editor,
                         QObject* parent = nullptr);

    // Enables the commands for the session's and the editor's current state.
    void update();

private:
    void copyOriginal();
    void selectUntranslated(bool forward);

    TArchiveSession& session_;
    TMainMenu& menu_;
    TTextEditorPane& editor_;
};
