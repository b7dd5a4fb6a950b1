#pragma once

#include <memory>
#include <optional>

#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>

#include "preview/glyph_sets.h"
#include "ui/editor_paths.h"
#include "ui/editor_settings.h"
#include "ui/export_mod_form.h"

class QSplitter;
class TAboutForm;
class TColorsForm;
class TArchiveSession;
class TCompareController;
class TModExportController;
class TRecentArchives;
class TCompareResultForm;
class TEditCommands;
class TFileListView;
class TLevelPreviewForm;
class TLevelPreviewPane;
class TMainMenu;
class TMainWindowState;
class TSearchController;
class TCharactersBar;
class TSpellingController;
class TStatusBar;
class TTextEditorPane;
class TTextPreviewPane;
class TUnsavedChangesGuard;
class TWindowModificationForm;

// The editor's main window: it lays out the file list, the texts and their editor, the
// previews and the status bar around one archive session, and wires the menus, the tool bars
// and the dialogs to them. On first show it reads settings.ini and the saved language; on
// closing it asks about unsaved changes and writes settings.ini.
class TMainForm : public QMainWindow {
    Q_OBJECT

public:
    // arguments: the command line without the program's name; on first show the first of them
    // is opened when it names an existing file. paths: where settings and languages live.
    explicit TMainForm(QStringList arguments, TEditorPaths paths = TEditorPaths::forProgram(),
                       QWidget* parent = nullptr);
    ~TMainForm() override;

    TArchiveSession& session() const { return *session_; }
    // Opens the archive at path, asking first what to do with unsaved changes.
    void OpenArchive(const QString& path);
    // Makes a language the interface's ("eng" for English), in every window, and writes the
    // choice to settings.ini at once.
    void ChangeLanguage(const QString& name);

protected:
    // The window's dialogs, which tests replace to answer them.
    virtual void showErrorMessage(const QString& text, const QString& detail);
    // Save, Discard or Cancel.
    virtual QMessageBox::StandardButton askSaveChanges(const QString& question);
    // The archive to open, or empty when the user cancels.
    virtual QString chooseArchiveToOpen(const QString& folder, const QString& filter);
    // The name to save as, or empty when the user cancels; firstFilterSelected tells whether
    // the archive filter was chosen.
    virtual QString chooseArchiveToSaveAs(const QString& folder, const QString& filter,
                                          bool& firstFilterSelected);
    // The archive to compare the open one with, or empty when the user cancels.
    virtual QString chooseArchiveToCompare(const QString& folder, const QString& filter);
    // The archive that the open one was translated from, or empty when the user cancels.
    virtual QString chooseOriginalArchive(const QString& folder, const QString& filter);
    // A PO file to write (forSaving) or to read, or empty when the user cancels.
    virtual QString choosePoFile(const QString& folder, const QString& filter, bool forSaving);
    // Runs a message box of the find and replace dialogs and of the mod folder export, and the
    // comparison's result window.
    virtual void execMessage(QMessageBox& box);
    // A question of the mod folder export: true for Yes.
    virtual bool askYesNo(const QString& question);
    virtual void showComparisonResult(TCompareResultForm& result);
    // Runs the filled mod folder dialog; nothing when the user cancels.
    virtual std::optional<TModExportRequest> chooseModExport(TExportModForm& form,
                                                             const QString& original);

    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void createLayout();
    void connectMenu();
    void connectSession();
    // The start-up sequence of the first show.
    void start();
    void writeSettings();

    void onOpenClicked();
    void onModifyWindow();
    void onWindowColors();
    void onSaveAsClicked();
    void onJobStarted();
    void onJobEnded();
    void SetLevelPreviewSize(int size);
    // Enables what needs an open archive.
    void updateCommands();
    void updateCaption();
    QString fileFilter() const;

    const QStringList arguments_;
    const TEditorPaths paths_;
    // The font in its eight colours, built once for every text preview.
    const preview::GlyphSets glyphSets_;
    TEditorSettings settings_;
    bool started_ = false;
    QString openFolder_;

    TArchiveSession* session_;
    TUnsavedChangesGuard* unsavedGuard_;
    TMainMenu* menu_;
    TEditCommands* editCommands_;
    TSpellingController* spelling_;
    TCharactersBar* charactersBar_;
    QSplitter* mainSplitter_;
    QSplitter* textsSplitter_;
    TFileListView* filesView_;
    TLevelPreviewPane* levelPreview_;
    TTextEditorPane* editorPane_;
    TTextPreviewPane* textPreview_;
    TStatusBar* statusBar_;
    TAboutForm* aboutForm_;
    TWindowModificationForm* windowForm_;
    TColorsForm* colorsForm_;
    TLevelPreviewForm* levelForm_;
    TSearchController* searchController_;
    TCompareController* compareController_;
    TModExportController* modExportController_;
    TRecentArchives* recentArchives_;
    std::unique_ptr<TMainWindowState> windowState_;
    // The widget that had the focus when the running job started.
    QPointer<QWidget> focusBeforeJob_;
};
