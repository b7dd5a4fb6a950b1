#pragma once

#include <cstddef>
#include <string>
#include <utility>

#include <QWidget>

#include "ui/edit_step.h"

class QAction;
class QListView;
class TGameTextEdit;
class TArchiveSession;
class TSpellingChoice;
class TTextsListModel;

namespace ui {
class SpellingHighlighter;
}  // namespace ui

// The texts of the current level beside the selected text's editor. The editor shows the text
// as tagged text and stores every change in the session at once, a run of typing as one step of
// the session's history, which is the editor's undo (it is read-only for a read-only level);
// it takes no character that the game lacks. Choosing a text in the list selects it in the
// session, and a text selected elsewhere is shown here. With spell checking, the editor
// underlines misspelled words and its context menu offers the spelling entries before its
// standard ones.
class TTextEditorPane : public QWidget {
    Q_OBJECT

public:
    explicit TTextEditorPane(TArchiveSession& session, QWidget* parent = nullptr);

    // Replaces the editor's selection with `text`, or inserts it at the caret; nothing when no
    // text of a level is selected or the editor is read-only.
    void insertText(const QString& text);
    // The same, and selects what it put in.
    void replaceSelection(const QString& text);
    // The selection as byte positions in the selected text's tagged text: start and end
    // (equal at the caret).
    std::pair<std::size_t, std::size_t> taggedSelection() const;
    // The selection as tagged text (Windows-1252, CR LF line breaks).
    std::string selectedTagged() const;
    // Selects `length` bytes of the tagged text from `position` (clamped to the text) and
    // scrolls them into view.
    void selectTagged(std::size_t position, std::size_t length);
    // While read-only, neither typing nor the commands below change the text. A read-only
    // level's texts stay read-only whatever is set here.
    void setReadOnly(bool readOnly);
    bool isReadOnly() const;
    // The commands of the Edit menu. Undo and redo walk the session's history, which may select
    // another text; they wait while the editor is held read-only.
    void undo();
    void redo();
    void cut();
    void copy();
    void paste();
    void selectAll();
    // True while a text that may be changed is open for editing.
    bool isEditing() const;
    // Gives the keyboard focus to the editor, or to the texts list when the editor is
    // disabled; false when neither can take it.
    bool focusText();
    // Checks spelling as `spelling` chooses, from now on; it must outlive the pane.
    void setSpelling(TSpellingChoice* spelling);
    // The Edit menu's Undo and Redo, which the editor's context menu offers in place of its
    // own; they must outlive the pane.
    void setHistoryActions(QAction* undo, QAction* redo);

signals:
    // The editor's commands became possible or impossible.
    void copyAvailable(bool available);
    void editingChanged(bool editing);
    // The user moved the caret to this byte position of the tagged text.
    void caretMoved(std::size_t taggedPosition);
    // Characters that the game lacks were not put in; notice names them.
    void charactersLeftOut(const QString& notice);

protected:
    // Reads every caption again when the interface's language changes.
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Reads every caption from the interface texts.
    void retranslate();
    void onTextSelected();
    // Shows the selected text again, with the caret after what changed.
    void onTextReloaded();
    void onEditorChanged();
    // How the last change of the editor's text was typed, for the session's history.
    TEditStep::Typing typingOf(int position, int removed, int added);
    void updateEnabled();
    // The editor read-only while set so or while the current level is read-only.
    void updateReadOnly();
    void showContextMenu(const QPoint& position);

    TArchiveSession& session_;
    TTextsListModel* texts_;
    QListView* textsView_;
    TGameTextEdit* textEditor_;
    ui::SpellingHighlighter* highlighter_;
    TSpellingChoice* spelling_ = nullptr;
    QAction* undoAction_ = nullptr;
    QAction* redoAction_ = nullptr;
    // The last change of the editor's document: position, characters removed and added.
    int changePosition_ = 0;
    int changeRemoved_ = 0;
    int changeAdded_ = 0;
    // The run of typing that the last change made or continued: inserting (the caret after it
    // at runEnd_) or deleting (at runEnd_), or none.
    enum class Run { None, Insert, Delete };
    Run run_ = Run::None;
    int runEnd_ = 0;
    // Set while this pane changes the selection or the editor itself.
    bool updating_ = false;
    // Set by setReadOnly, apart from the current level's own read-only state.
    bool heldReadOnly_ = false;
};
