#pragma once

#include <array>
#include <map>

#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QString>

#include "ui/language_catalog.h"

class QAction;
class QActionGroup;
class QMenu;
class QMenuBar;

// The main window's menu bar: File, Edit, View and "?", their commands with their shortcuts,
// and keyboard mnemonics drawn from the captions of the current language. Commands are
// triggered through their actions; the menu itself decides nothing.
class TMainMenu : public QObject {
    Q_OBJECT

public:
    enum class Command {
        Open,
        Save,
        SaveAs,
        Compare,
        DisplayLastComparison,
        ExportModFolder,
        OriginalArchive,
        ExportBilingualPo,
        ImportBilingualPo,
        WindowColors,
        Exit,
        Undo,
        Redo,
        Cut,
        Copy,
        Paste,
        SelectAll,
        Find,
        FindNext,
        FindPrevious,
        Replace,
        NextMarkedText,
        PreviousMarkedText,
        NextOverflowingText,
        PreviousOverflowingText,
        FitWindowToText,
        CopyOriginal,
        NextUntranslatedText,
        PreviousUntranslatedText,
        AllFiles,
        OnlyLevels,
        DisplayTextPreview,
        About,
    };

    // Fills `bar`, which must outlive the menu.
    explicit TMainMenu(QMenuBar& bar, QObject* parent = nullptr);

    QAction* action(Command command) const;
    // Sizes 1 (Small) to 4 (Very large).
    QAction* levelPreviewSizeAction(int size) const;

    // The "Language" menu: "English" and one item per language, in the given order.
    void setLanguages(const QList<TLanguage>& languages);
    // Checks the item of that language name, matched without regard to case ("eng" for
    // English); returns the item's own name, or empty when none has it.
    QString checkLanguage(const QString& name);
    // The names of the language items, "eng" first.
    QStringList languageNames() const;

    // The "Spell checking" menu: "None" and one item per dictionary name, in the given order;
    // without any, a disabled "No dictionary is installed" alone.
    void setDictionaries(const QStringList& names);
    // Checks the item of that dictionary ("" for None); returns false when none has it.
    bool checkDictionary(const QString& name);
    // The item of that dictionary ("" for None), or none.
    QAction* dictionaryAction(const QString& name) const;

    // The "Recent archives" menu: one item per path, the most recent first, numbered from 1;
    // disabled while there is none.
    void setRecentArchives(const QStringList& paths);

signals:
    void levelPreviewSizeChosen(int size);
    void languageChosen(const QString& name);
    // "" for None.
    void dictionaryChosen(const QString& name);
    void recentArchiveChosen(const QString& path);

protected:
    // Reads the captions again when the menu bar is told that the interface's language changed.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Captions, hints and mnemonics from the current interface texts.
    void retranslate();
    QAction* addCommand(QMenu& menu, Command command, const QKeySequence& shortcut = {});
    void retranslateDictionaries();

    QMenuBar& bar_;
    QMenu* fileMenu_;
    QMenu* editMenu_;
    QMenu* viewMenu_;
    QMenu* displayFilesMenu_;
    QMenu* spellingMenu_;
    QMenu* levelPreviewSizeMenu_;
    QMenu* languageMenu_;
    QMenu* helpMenu_;
    QMenu* recentMenu_;
    std::map<Command, QAction*> actions_;
    std::array<QAction*, 4> levelPreviewSizes_{};
    QActionGroup* languages_;
    QActionGroup* dictionaries_;
    // "None", or the hint that no dictionary is installed: the one item whose caption is
    // translated.
    QAction* firstDictionaryItem_ = nullptr;
};
