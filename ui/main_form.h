#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>

#include <QMainWindow>
#include <QMessageBox>
#include <QString>
#include <QStringList>

#include "lgp/lgp_file.h"
#include "preview/glyph_sets.h"
#include "preview/window_colors.h"

class QAction;
class QActionGroup;
class QGroupBox;
class QLayout;
class QLabel;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QScrollArea;
class QSpinBox;
class QSplitter;
class QStatusBar;
class QToolBar;
class QToolButton;
class QTreeWidget;
class TAboutForm;
class TJob;

// The editor's main window. It owns the open archive, lists its files and the texts of the
// selected level, shows the selected text as tagged text in MemoText and stores every edit at
// once as that text's bytes in the level's Texts. The open and save jobs run on worker
// threads; while one runs the window is disabled, and their reports are handled here on the
// user-interface thread while the worker waits.
//
// The controls are public, as other windows of the editor select rows, texts and text ranges
// in them; they belong to the window.
class TMainForm : public QMainWindow {
    Q_OBJECT

public:
    // arguments: the command line without the program's name. On first show the first of
    // them is opened when it names an existing file.
    explicit TMainForm(QStringList arguments, QWidget* parent = nullptr);
    ~TMainForm() override;

    // Replaces the open archive by the one at path (a shortcut is followed first), asking
    // first what to do with unsaved changes. Returns at once; the open job reports its end.
    void OpenArchive(QString path);
    // Saves the open archive to target; saving to the archive's own file makes the written
    // state the saved one. Returns at once; the save job reports its end.
    void StartSave(const QString& target);

    // Enables or disables the commands and controls that need an archive; reset also empties
    // the lists, the editor, the previews and the status panels 1 and 2.
    void SetControlsState(bool enabled, bool reset);
    // Lists the archive's sub-files (only its levels when onlyLevels) and selects row 0. When
    // force is false and onlyLevels is the current choice, only rewrites the descriptions.
    void FillFilesList(bool force, bool onlyLevels);
    // Shows the archive's level and text counts in status panel 2.
    void UpdateCounts();
    // Sets the window selector to the windows of text textIndex of subFile (1 to k), or
    // disables it at -1 when there is none.
    void UpdateWindowSelector(const TLGPSubFile* subFile, int textIndex);
    // Size 1 to 4: both preview group boxes take size x 50 + 27 pixels of height.
    void SetLevelPreviewSize(int size);
    // Draws the editor's text into ImageTextPreview while "Display text preview" is checked:
    // in the size of the text's window that the selector shows, or in the automatic size
    // when the text has none. Clears the picture when no text is selected.
    void DrawTextPreview();

    TLGPFile* Archive() const { return archive_.get(); }
    // The sub-file of the selected row, or none; it belongs to the archive.
    TLGPSubFile* CurrentSubFile() const { return currentSubFile_; }
    bool OnlyLevels() const { return onlyLevels_; }
    // True from the start of an open or save until its job has reported its end.
    bool JobRunning() const { return jobRunning_; }
    // True when a level has texts or windows that differ from the saved ones.
    bool HasUnsavedChanges() const;

    QMenu* MenuFile;
    QAction* MenuItemOpen;
    QAction* MenuItemSave;
    QAction* MenuItemSaveAs;
    QAction* MenuItemCompare;
    QAction* MenuItemDisplayLastComparison;
    QAction* MenuItemWindowColors;
    QAction* MenuItemExit;
    QMenu* MenuEdit;
    QAction* MenuItemFind;
    QAction* MenuItemFindNext;
    QAction* MenuItemFindPrevious;
    QAction* MenuItemReplace;
    QMenu* MenuView;
    QMenu* MenuItemDisplayFiles;
    QAction* MenuItemAllFiles;
    QAction* MenuItemOnlyLevels;
    QAction* MenuItemDisplayTextPreview;
    QMenu* MenuItemLevelPreviewSize;
    // Small, Normal, Large, Very large: sizes 1 to 4.
    std::array<QAction*, 4> MenuItemLevelPreviewSizes;
    QMenu* MenuItemLanguage;
    QAction* MenuItemEnglish;
    QMenu* MenuHelp;
    QAction* MenuItemAbout;

    QToolBar* ToolBarShortcuts;
    QToolButton* ToolButtonOpen;
    QToolButton* ToolButtonSave;
    QToolButton* ToolButtonSaveAs;
    QToolBar* ToolBarSpecialCharacters;
    // Every button that inserts its caption, in the order of the tool bar.
    QList<QToolButton*> CharacterButtons;
    QToolButton* ToolButtonOtherTags;
    QMenu* PopupMenu1;

    QSplitter* RzSplitter1;
    QTreeWidget* ListViewFiles;
    QGroupBox* GroupBoxLevelPreview;
    QLabel* ImageLevelPreview;
    QListWidget* ListBoxTexts;
    QPlainTextEdit* MemoText;
    QGroupBox* GroupBoxTextPreview;
    QScrollArea* ScrollBoxTextPreview;
    QLabel* ImageTextPreview;
    QLabel* LabelWindows;
    QSpinBox* RzSpinnerWindows;
    QToolButton* PngSpeedButtonWindows;

    QStatusBar* StatusBar1;
    // Panel 0: job status (with QProgressBar1 inside); 1: the archive's creator; 2: counts.
    std::array<QLabel*, 3> StatusBar1Panels;
    QProgressBar* QProgressBar1;

    TAboutForm* AboutForm;

    // The corner colours of the text preview.
    TWindowColors CurrentWindowColors = DefaultWindowColors;

protected:
    // The window's dialogs, which tests replace to answer them.
    virtual void ShowErrorMessage(const QString& text);
    // Save, Discard or Cancel.
    virtual QMessageBox::StandardButton AskSaveChanges(const QString& question);
    // The archive to open, or empty when the user cancels.
    virtual QString ChooseArchiveToOpen(const QString& folder, const QString& filter);
    // The name to save as, or empty when the user cancels; firstFilterSelected tells whether
    // the archive filter was chosen.
    virtual QString ChooseArchiveToSaveAs(const QString& folder, const QString& filter,
                                          bool& firstFilterSelected);

    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    enum class UnsavedChanges { Proceed, Cancelled, Saving };

    void CreateMenu();
    void CreateToolBars();
    // A button that inserts its caption; name and hintKey (of "tags_description") if any.
    QToolButton* AddCharacterButton(QLayout* row, const QString& caption, const QString& name = {},
                                    const QString& hintKey = {});
    void CreateClientArea();
    void CreateStatusBar();

    void FormShow();
    void MenuItemOpenClick();
    void MenuItemSaveClick();
    void MenuItemSaveAsClick();
    void MenuItemExitClick();
    void DisplayFilesClick(bool onlyLevels);
    void MenuItemDisplayTextPreviewClick();
    void ListViewFilesSelectItem();
    void ListViewFilesColumnClick(int column);
    void ListBoxTextsClick();
    void MemoTextChange();
    void RzSpinnerWindowsChange();
    void ToolButtonCharClick(const QString& caption);
    void RzSplitter1Changing();

    // Asks whether to save unsaved changes. Proceed: nothing to save, or the user discards
    // them. Saving: the save job runs and calls `afterSave` once it has succeeded.
    UnsavedChanges AskAboutUnsavedChanges(std::function<void()> afterSave);
    void ClearPreviews();
    void ClearTextPreview();
    // DrawTextPreview with the editor's text as tagged text.
    void DrawTextPreview(const std::string& tagged);
    QString FileFilter() const;
    // Starts a job that reports to this window; `ended` runs in its finish handler.
    void StartJob(TJob* job, const QString& statusText, std::function<void(bool)> ended);
    void OpenEnded(bool succeeded);
    void SaveEnded(bool succeeded);
    void EndJob();

    const QStringList arguments_;
    // The font in its eight colours, built once for every text preview.
    const GlyphSets glyphSets_;
    bool shown_ = false;
    std::unique_ptr<TLGPFile> archive_;
    TLGPSubFile* currentSubFile_ = nullptr;
    bool onlyLevels_ = false;
    bool jobRunning_ = false;
    // Runs once the save job that an unsaved-changes question started has succeeded.
    std::function<void()> afterSave_;
    QString openFolder_;
    // Per column: 0 before its first click, then 1 for ascending and -1 for descending.
    std::array<int, 4> sortDirections_{};
};
