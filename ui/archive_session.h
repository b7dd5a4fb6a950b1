#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QStringList>

#include "lgp/lgp_file.h"
#include "lgp/mod_folder.h"
#include "lgp/replace_all.h"
#include "ui/edit_step.h"

class QUndoStack;
class TJob;
class TOverflowMarks;
class TTranslationMarks;
class TWindow;

// The questions that the session asks the user, answered by the window that owns it; an unset
// one is answered No.
struct TSessionQuestions {
    // An archive read with levels that could not be parsed: the question and one line per such
    // level (its name and the reason). True goes on with the archive: opened, with those levels
    // read-only; as a comparison's reference, with those levels left out.
    std::function<bool(const QString& question, const QString& levels)> damagedLevels;
    // Saving over the archive's own file, which another program changed since it was opened:
    // true saves over that change.
    std::function<bool(const QString& question)> saveOverChange;
};

namespace ui {

// Asked before replace-all stores its texts: true stores them.
using ReplaceConfirmation = std::function<bool(int occurrences, int texts, int levels)>;

}  // namespace ui

// The open archive and the place in it that the user works on: the selected file, text and
// window. It starts the jobs (open, save, comparison, replace-all, mod folder export, reading
// the original archive), stores the user's edits, keeps their history for undo and redo, keeps
// track of what differs from the saved file, and tells its observers (the windows and panes)
// through signals. No widgets: windows call it and connect to it, and jobs that change texts go
// through it.
//
// The history is one for the whole archive, from its opening on: each edit of a text (a run of
// typing in one text being one step), each change of a window, each replace-all and each import
// is a step. Undoing or redoing a step selects the file, text and window it concerns and gives
// back the bytes and values it changed.
class TArchiveSession : public QObject {
    Q_OBJECT

public:
    explicit TArchiveSession(QObject* parent = nullptr);
    // Waits for a job still running, which works on the archive that ends here; its questions
    // are answered No and nothing more is told.
    ~TArchiveSession() override;

    // The open archive, or none.
    TLGPFile* archive() const { return archive_.get(); }
    // The open archive's file, or empty.
    QString fileName() const;
    // From the start of an open, save, comparison or replace-all until its job has ended (for
    // replace-all, until its texts are stored).
    bool jobRunning() const { return jobRunning_; }

    // Whether undo and redo have a step to take; never while a job runs.
    bool canUndo() const;
    bool canRedo() const;
    // Undoes the last step, or redoes the last undone one; nothing when there is none or a
    // job runs.
    void undo();
    void redo();

    // True when a level's texts or windows differ from the saved ones.
    bool hasUnsavedChanges() const { return changedLevels_ > 0; }
    // The same for one file of the archive (by table index), and for one text of it.
    bool isLevelChanged(int subFile) const;
    bool isTextChanged(int subFile, int text) const;
    // True for a damaged level (its Damage says why): its texts and windows are shown but not
    // changed, and saving writes its stored bytes back unchanged.
    bool isLevelReadOnly(int subFile) const;

    // Table index of the selected file, or -1.
    int currentSubFileIndex() const { return subFile_; }
    TLGPSubFile* currentSubFile() const;
    // The selected file when it is a level, else none.
    TLGPSubFile* currentLevel() const;
    // Index of the selected text of the current level, or -1.
    int currentText() const { return text_; }
    // Index of the selected window in the current text's window list, or -1.
    int currentWindowIndex() const { return window_; }
    // Number of windows that show the selected text.
    int windowCount() const;
    // The selected window, or none.
    TWindow* currentWindow() const;
    // The selected text as tagged text (Windows-1252, CR LF); empty when none is selected.
    const std::string& currentTagged() const { return tagged_; }
    // Which texts overflow their windows, following every change made through this session:
    // they are brought up to date before the session tells of the change. The levels of an
    // archive just opened are checked while the window is idle; the selected one is checked
    // before its selection is told.
    TOverflowMarks& overflowMarks() const { return *overflowMarks_; }
    // The open archive reviewed against its original, when one is set: untranslated texts,
    // findings and progress, following every change made through this session as the overflow
    // marks do. Opening another archive lets the original go.
    TTranslationMarks& translationMarks() const { return *translationMarks_; }
    // The selected window fitted to every text of its level that it shows, under the marks'
    // names, at `position` unless it would then leave the screen; none without a selected
    // window.
    std::optional<QRect> fitSelectedWindow(QPoint position) const;

    // Sets who answers the session's questions.
    void setQuestions(TSessionQuestions questions) { questions_ = std::move(questions); }

    // Reads the archive at path (a shortcut is followed first) on a worker thread, keeping the
    // levels that cannot be parsed. On success it replaces the open archive and `opened`
    // follows; on failure, or when the user declines to open an archive with such levels, the
    // open archive stays and `openFailed` tells why. Does nothing while a job runs.
    void open(const QString& path);
    // Writes the archive to target on a worker thread, under the target's lock. Saving over
    // the archive's own file, or with adoptTarget ("Save as..."), makes the written file the
    // open one. Saving over the own file after another program changed it asks first. Ends
    // with `saved`, `saveFailed`, or `saveCancelled` when the user declined. Does nothing
    // without an archive or while a job runs.
    void save(const QString& target, bool adoptTarget);
    // Writes the levels whose texts or windows differ from the archive at originalPath, unsaved
    // changes included, into `folder` (missing or empty, or holding an earlier export that
    // `earlier` allows to replace) as a mod folder, on a worker thread. Ends with
    // `modFolderExported` or `exportFailed`. Does nothing without an archive or while a job
    // runs.
    void exportModFolder(const QString& originalPath, const QString& folder, lgp::ModLayout layout,
                         lgp::EarlierExport earlier = lgp::EarlierExport::Refuse);
    // Compares the open archive with the one at referencePath on a worker thread
    // (TCompareTextsThread): the window is unusable meanwhile, as for an open. A reference with
    // levels that cannot be parsed is asked about, as an open asks, and compared without them
    // (the open archive's own such levels are left out too). Ends with `compared` (stored as
    // jobs::LastComparison, differing texts marked) or `compareFailed` (the reference could not be
    // read, or the user declined: nothing stored, nothing marked). Does nothing without an
    // archive or while a job runs.
    void compare(const QString& referencePath);
    // Replaces every occurrence of tagged text `search` in the texts of all levels: works it
    // out on a worker thread (TReplaceAllThread), reporting its progress by `jobProgress`,
    // then, when some text would change, asks `confirm` with the numbers of occurrences, texts
    // and levels, and stores the texts as one step of the history. The window stays usable,
    // but nothing may store a text until `replaceEnded`: the editor must be read-only
    // meanwhile. Each changed text is reported by `textEdited`, the selected one read again
    // first (`textReloaded`). Returns false, and starts nothing, without an archive or while a
    // job runs.
    bool replaceAll(std::string search, std::string replacement, bool matchCase,
                    ui::ReplaceConfirmation confirm);
    // Reads the archive at path on a worker thread (TOriginalArchiveThread) as the original of
    // the open one, the window unusable meanwhile. Levels of it that cannot be parsed are
    // asked about as an open asks (openDamaged); accepted, they count as missing. On success
    // the translation marks take it (their originalChanged follows); on failure
    // `originalFailed` tells why and the marks stay as they were. Does nothing without an
    // archive or while a job runs.
    void openOriginal(const QString& path);

    // Selects a file by table index (-1: none), and its first text and that text's first
    // window when it has them.
    void selectSubFile(int subFile);
    // Selects a text of the current level (-1: none) and its first window.
    void selectText(int text);
    // Selects a window of the current text's window list (-1: none).
    void selectWindow(int window);

    // Stores tagged text as the selected text's bytes (encoded, 0xFF appended), as a step of
    // the history, or as part of the last one when `typing` continues it. Does nothing when no
    // text of a level is selected, or the level is read-only.
    void storeCurrentText(std::string tagged, TEditStep::Typing typing = TEditStep::Typing::No);
    // Stores `bytes` (0xFF included) as the selected text's, as one step of the history: kept
    // exactly, where their tagged text would encode otherwise (a copied original must equal
    // its bytes). Does nothing when no text of a level is selected, the level is read-only, or
    // the bytes are already the text's.
    void storeCurrentBytes(std::vector<std::uint8_t> bytes);
    // Gives the selected window the position and size of `place` (X, Y, Width, Height), as a
    // step of the history. Does nothing without a selected window, for a read-only level or
    // while a job runs.
    void placeCurrentWindow(const QRect& place);
    // Places the selected window where fitSelectedWindow puts it from its own position, as
    // placeCurrentWindow does.
    void fitCurrentWindow();
    // Stores texts that changed together (from an imported file) as one step of the history:
    // each change gives the text's bytes now (before) and the bytes to store (after). The
    // marks and the changed state follow, the selected text is read again (`textReloaded`)
    // when it is among them, and `textEdited` is told for each; the selection stays.
    void storeTexts(std::vector<TEditStep::TextChange> changes);
    // Gives every level its description in the current language.
    void refreshDescriptions();

signals:
    // An open, save or comparison began (with its status text), advanced, or ended; the window
    // is unusable between the first and the last. Replace-all reports its progress alone.
    void jobStarted(const QString& statusText);
    void jobProgress(int percent);
    void jobEnded();
    // An open succeeded: the selection is cleared already, and the archive is about to be
    // replaced by the one read; `opened` follows once it has been.
    void archiveAboutToBeReplaced();
    void opened();
    // message: the interface text to show; detail: the file and the reason.
    void openFailed(const QString& message, const QString& detail);
    void saved(const QString& fileName);
    void saveFailed(const QString& message, const QString& detail);
    // The user declined to save over another program's change: nothing was written.
    void saveCancelled();
    // The names of the levels written into folder, none when no level differs.
    void modFolderExported(const QString& folder, const QStringList& levels);
    void exportFailed(const QString& message, const QString& detail);
    // A comparison was stored as jobs::LastComparison and the texts it found different are marked.
    void compared();
    void compareFailed(const QString& message, const QString& detail);
    // The original archive could not be read; nothing changed.
    void originalFailed(const QString& message, const QString& detail);
    // Replace-all was refused (detail: the level, the text and the reason), or ended with
    // `changed` texts changed (-1 when refused, 0 when declined).
    void replaceFailed(const QString& message, const QString& detail);
    void replaceEnded(int changed);

    // The selected file changed (the selection of a text and window follows).
    void subFileSelected();
    // The selected text changed, or it was reloaded; the window selection is its first window.
    void textSelected();
    void windowSelected();
    // A text's bytes were replaced: the selected one by StoreCurrentText, or any by replace-all,
    // undo or redo.
    void textEdited(int subFile, int text);
    // The selected text was read again after replace-all, undo or redo changed it; the window
    // selection stays.
    void textReloaded();
    // A window of the current level changed its values.
    void windowEdited(int subFile);
    // The unsaved state of the whole archive changed.
    void modifiedChanged(bool modified);
    // Every level's description was given again.
    void descriptionsChanged();
    // What canUndo or canRedo answer may have changed.
    void historyChanged();

private:
    friend class TEditStep;

    using Failure = void (TArchiveSession::*)(const QString& message, const QString& detail);
    // Starts a job that reports through this object, its failure through `failure` with the
    // file's name before a reason that does not start with it; `ended` runs in its finish
    // handler.
    void startJob(TJob* job, const QString& statusText, const QString& file, Failure failure,
                  std::function<void(bool)> ended);
    void openEnded(bool succeeded);
    // Asks whether to open an archive that has unreadable levels; true when it has none.
    bool acceptDamagedLevels(const TLGPFile& read);
    // Asks whether to take an original that has unreadable levels; true when it has none.
    bool acceptDamagedOriginal(const TLGPFile& read);
    // Asks the damaged-levels question with `key` (singular; its plural ends in "s") for the
    // levels listed.
    bool askDamagedLevels(const char* key, const QStringList& levels) const;
    void saveEnded(bool succeeded);
    // Recounts the changed levels after a load or save.
    void recountChanges();
    // Updates the changed state of one level after an edit.
    void updateChanged(int subFile);
    void loadCurrentText();
    void setJobRunning(bool running);
    // Stores what replace-all planned as one step, when `confirm` agrees; returns the number of
    // texts changed.
    int storeReplacements(const std::vector<lgp::TextReplacement>& planned,
                          const ui::ReplaceConfirmation& confirm);
    // Applies a step made here and hands it to the history.
    void pushStep(std::unique_ptr<TEditStep> step);
    // Gives back a step's values before (after: false) or after it, for the history; selects
    // the step's place first when it has one.
    void applyStep(const TEditStep& step, bool after);
    void setTextBytes(int subFile, int text, const std::vector<std::uint8_t>& bytes);
    void setWindowValues(int subFile, TWindow& window, const QRect& values);

    TSessionQuestions questions_;
    std::unique_ptr<TLGPFile> archive_;
    // The archive an open job fills; it replaces archive_ only once it has been read whole.
    std::unique_ptr<TLGPFile> pending_;
    bool jobRunning_ = false;
    // The running job, which frees itself once it has ended.
    QPointer<TJob> job_;
    QUndoStack* history_;
    // Per table index: whether the level differs from what is saved.
    std::vector<char> changed_;
    int changedLevels_ = 0;
    int subFile_ = -1;
    int text_ = -1;
    int window_ = -1;
    std::string tagged_;
    TOverflowMarks* overflowMarks_;
    TTranslationMarks* translationMarks_;
};
