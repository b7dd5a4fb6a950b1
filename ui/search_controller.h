#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <optional>

#include <QMessageBox>
#include <QObject>
#include <QString>

#include "lgp/text_search.h"

class QWidget;
class TArchiveSession;
class TFileListView;
class TFindForm;
class TFindThread;
class TMainMenu;
class TReplaceForm;
class TSearchDialog;
class TStatusBar;
class TTextEditorPane;
class TTextPreviewPane;

// Find and replace in the main window. It owns the find and replace dialogs and the one find
// thread, and answers the Edit menu's "Find...", "Find next", "Find previous", "Replace...",
// "Next marked text", "Previous marked text", "Next overflowing text" and "Previous
// overflowing text", enabled while an archive is open; their keys work from the dialogs too. A
// search follows the file list's rows as shown, starts from the editor's selection and selects
// its hit. The replace dialog opens with the editor's selection when it is one line, else with
// the text of the last search; Replace replaces the selection only when it is an occurrence of
// the search text, then finds the next. Replace-all asks before it stores anything, and keeps
// the editor and the window button read-only while it runs, as a keystroke stored meanwhile
// would be overwritten or overwrite the job's text. A search or replace-all asked for while a
// job or another search runs waits, in the order asked, and starts once nothing runs (the
// status bar says so meanwhile); opening another archive drops what waits. Progress and status
// show in the status bar, messages over the dialog that asked.
class TSearchController : public QObject {
    Q_OBJECT

public:
    // The parts of the main window it works with; all must outlive it.
    struct Panes {
        TArchiveSession& session;
        TMainMenu& menu;
        TFileListView& files;
        TTextEditorPane& editor;
        TTextPreviewPane& preview;
        TStatusBar& status;
    };
    // Runs a message box of the dialogs modally (the dialog is not on top meanwhile).
    using MessageRunner = std::function<void(QMessageBox& box)>;

    // window: the dialogs' parent, over which they open.
    TSearchController(const Panes& panes, MessageRunner runMessage, QWidget& window);
    // A search still running ends first; its reports are no longer handled.
    ~TSearchController() override;

    // True from a search's start until its last report has been handled, and while a search
    // or replace-all waits.
    bool isSearching() const;

private:
    // A search, or a replace-all when it has a replacement, as asked for.
    struct Request {
        TSearchDialog* asking = nullptr;
        QString search;
        bool matchCase = false;
        lgp::FindMode mode = lgp::FindMode::FromStart;
        std::optional<QString> replacement;
    };

    // Hides `hidden` and shows `shown`, or gives it the focus.
    static void showDialog(TSearchDialog& shown, TSearchDialog& hidden);
    // Shows the replace dialog, with the search text it opens with when it was hidden.
    void showReplaceDialog();
    // Starts the request, or lets it wait while something runs or another request waits.
    void ask(Request request);
    // Starts what waits, in turn, as far as nothing runs.
    void startWaiting();
    // After a job or search has ended, once its handlers have returned.
    void startWaitingLater();
    void showWaiting();
    // A search with a dialog's text, from the selection as it is now.
    void find(TSearchDialog& asking, const QString& search, bool matchCase, lgp::FindMode mode);
    void onFound(int subFile, int text, qint64 position, qint64 length);
    // The replace dialog's Replace.
    void replace(const QString& replacement);
    // True when the editor's selection is an occurrence of tagged text `search`.
    bool selectionMatches(const std::string& search, bool matchCase) const;
    void replaceAll(const QString& search, const QString& replacement, bool matchCase);
    void onReplaceEnded(int changed);
    // Texts that a walk goes to: those marked by a comparison, or those that overflow their
    // windows.
    enum class Walk { Marked, Overflowing };
    // Selects the next (or previous) text of the walk, in the rows as shown.
    void selectNextText(bool backward, Walk walk);
    void updateCommands();

    const Panes panes_;
    TFindForm* findForm_;
    TReplaceForm* replaceForm_;
    std::unique_ptr<TFindThread> finder_;
    // The dialog whose search runs or ran last, which shows its message.
    TSearchDialog* asking_ = nullptr;
    // The text of the last search asked for, as the dialog held it.
    QString lastSearch_;
    // Set when the user declined a replace-all's question.
    bool replaceDeclined_ = false;
    // Counts the archives opened, so that a hit in the one before is not selected in the next.
    int archives_ = 0;
    int searchedArchive_ = 0;
    QString refusal_;
    QString refusalDetail_;
    std::deque<Request> waiting_;
};
