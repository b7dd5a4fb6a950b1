#pragma once

#include <QObject>

class TArchiveSession;
class TFileListView;
class TMainMenu;
class TTextEditorPane;

// The Edit menu's commands of a translation against its original: "Copy original" puts the
// selected text's original in the editor in place of the whole text, as one edit of the
// editor (one text stored in the session, undone at once); "Next untranslated text" and
// "Previous untranslated text" select the next text whose bytes are still the original's, in
// the files list's order as shown (as the walks over marked and overflowing texts go), going on
// from the list's start after its end. Enabled while an original is set, Copy original while a
// text that has an original is being edited.
class TTranslationCommands : public QObject {
    Q_OBJECT

public:
    // The session, the menu, the files list and the editor must outlive it.
    TTranslationCommands(TArchiveSession& session, TMainMenu& menu, const TFileListView& files,
                         TTextEditorPane& editor, QObject* parent = nullptr);

    // Enables the commands for the session's and the editor's current state.
    void update();

private:
    void copyOriginal();
    void selectUntranslated(bool forward);

    TArchiveSession& session_;
    TMainMenu& menu_;
    const TFileListView& files_;
    TTextEditorPane& editor_;
};
