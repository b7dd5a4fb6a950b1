#include "ui/main_menu.h"

#include <QAction>
#include <QActionGroup>
#include <QDir>
#include <QEvent>
#include <QKeySequence>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>

#include "ui/interface_texts.h"
#include "ui/menu_mnemonics.h"

namespace {

const QString kEllipsis = QStringLiteral("...");
const QString kEnglish = QString::fromLatin1(ui::kEnglishLanguage);

// Language captions are plain text: an '&' in them is shown, not a mnemonic.
QString Escaped(QString caption) { return caption.replace(u'&', QStringLiteral("&&")); }

struct Caption {
    const char* key;
    bool ellipsis;
};

Caption CaptionOf(TMainMenu::Command command) {
    using C = TMainMenu::Command;
    switch (command) {
        case C::Open: return {"open", true};
        case C::Save: return {"save", false};
        case C::SaveAs: return {"save_as", true};
        case C::Compare: return {"compare", true};
        case C::DisplayLastComparison: return {"display_last_comparison", false};
        case C::ExportModFolder: return {"export_mod_folder", true};
        case C::OriginalArchive: return {"original_archive", true};
        case C::ExportBilingualPo: return {"export_bilingual_po", true};
        case C::ImportBilingualPo: return {"import_bilingual_po", true};
        case C::WindowColors: return {"window_colors", false};
        case C::Exit: return {"exit", false};
        case C::Undo: return {"undo", false};
        case C::Redo: return {"redo", false};
        case C::Cut: return {"cut", false};
        case C::Copy: return {"copy", false};
        case C::Paste: return {"paste", false};
        case C::SelectAll: return {"select_all", false};
        case C::Find: return {"find", true};
        case C::FindNext: return {"find_next", false};
        case C::FindPrevious: return {"find_previous", false};
        case C::Replace: return {"replace", true};
        case C::NextMarkedText: return {"next_marked_text", false};
        case C::PreviousMarkedText: return {"previous_marked_text", false};
        case C::NextOverflowingText: return {"next_overflowing_text", false};
        case C::PreviousOverflowingText: return {"previous_overflowing_text", false};
        case C::FitWindowToText: return {"fit_window_to_text", false};
        case C::CopyOriginal: return {"copy_original", false};
        case C::NextUntranslatedText: return {"next_untranslated_text", false};
        case C::PreviousUntranslatedText: return {"previous_untranslated_text", false};
        case C::AllFiles: return {"all_files", false};
        case C::OnlyLevels: return {"only_levels", false};
        case C::DisplayTextPreview: return {"display_text_preview", false};
        case C::About: return {"about", true};
    }
    return {"", false};
}

// A dictionary's name, such as "fr_FR" or "de_DE_frami", as the language and country it is
// for ("French (France)", "German (Germany, frami)"); the name itself when it names no
// language.
QString DictionaryCaption(const QString& name) {
    static const QRegularExpression localeName(
        QStringLiteral("^([A-Za-z]{2,3})(?:[_-]([A-Za-z]{2}))?(?:[_-](.+))?$"));
    const QRegularExpressionMatch parts = localeName.match(name);
    if (!parts.hasMatch()) return name;
    const QLocale locale(parts.captured(1) + u'_' + parts.captured(2));
    if (locale.language() == QLocale::C) return name;
    QStringList details;
    if (!parts.captured(2).isEmpty()) details << QLocale::territoryToString(locale.territory());
    if (!parts.captured(3).isEmpty()) details << parts.captured(3);
    const QString language = QLocale::languageToString(locale.language());
    return details.isEmpty() ? language
                             : language + QStringLiteral(" (") + details.join(QStringLiteral(", ")) +
                                   u')';
}

QString CaptionText(TMainMenu::Command command) {
    const Caption caption = CaptionOf(command);
    return ui::InterfaceText("general", caption.key) + (caption.ellipsis ? kEllipsis : QString());
}

}  // namespace

TMainMenu::TMainMenu(QMenuBar& bar, QObject* parent) : QObject(parent), bar_(bar) {
    using C = Command;
    fileMenu_ = bar_.addMenu(QString());
    addCommand(*fileMenu_, C::Open, QKeySequence(Qt::CTRL | Qt::Key_O));
    addCommand(*fileMenu_, C::Save, QKeySequence(Qt::CTRL | Qt::Key_S));
    addCommand(*fileMenu_, C::SaveAs);
    recentMenu_ = fileMenu_->addMenu(QString());
    recentMenu_->setObjectName(QStringLiteral("recentMenu"));
    setRecentArchives({});
    fileMenu_->addSeparator();
    addCommand(*fileMenu_, C::Compare);
    addCommand(*fileMenu_, C::DisplayLastComparison);
    addCommand(*fileMenu_, C::ExportModFolder);
    fileMenu_->addSeparator();
    addCommand(*fileMenu_, C::OriginalArchive);
    addCommand(*fileMenu_, C::ExportBilingualPo);
    addCommand(*fileMenu_, C::ImportBilingualPo);
    fileMenu_->addSeparator();
    addCommand(*fileMenu_, C::WindowColors);
    fileMenu_->addSeparator();
    addCommand(*fileMenu_, C::Exit, QKeySequence(Qt::CTRL | Qt::Key_Q));

    editMenu_ = bar_.addMenu(QString());
    addCommand(*editMenu_, C::Undo, QKeySequence::Undo);
    // Both usual keys, whatever the platform's own.
    addCommand(*editMenu_, C::Redo)
        ->setShortcuts(
            {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    editMenu_->addSeparator();
    addCommand(*editMenu_, C::Cut, QKeySequence::Cut);
    addCommand(*editMenu_, C::Copy, QKeySequence::Copy);
    addCommand(*editMenu_, C::Paste, QKeySequence::Paste);
    addCommand(*editMenu_, C::SelectAll, QKeySequence::SelectAll);
    editMenu_->addSeparator();
    addCommand(*editMenu_, C::Find, QKeySequence(Qt::CTRL | Qt::Key_F));
    addCommand(*editMenu_, C::FindNext, QKeySequence(Qt::Key_F3));
    addCommand(*editMenu_, C::FindPrevious, QKeySequence(Qt::SHIFT | Qt::Key_F3));
    addCommand(*editMenu_, C::Replace, QKeySequence(Qt::CTRL | Qt::Key_R));
    editMenu_->addSeparator();
    addCommand(*editMenu_, C::NextMarkedText, QKeySequence(Qt::Key_F4));
    addCommand(*editMenu_, C::PreviousMarkedText, QKeySequence(Qt::SHIFT | Qt::Key_F4));
    addCommand(*editMenu_, C::NextOverflowingText, QKeySequence(Qt::Key_F8));
    addCommand(*editMenu_, C::PreviousOverflowingText, QKeySequence(Qt::SHIFT | Qt::Key_F8));
    editMenu_->addSeparator();
    addCommand(*editMenu_, C::FitWindowToText, QKeySequence(Qt::CTRL | Qt::Key_T));
    addCommand(*editMenu_, C::CopyOriginal, QKeySequence(Qt::CTRL | Qt::Key_B));
    addCommand(*editMenu_, C::NextUntranslatedText, QKeySequence(Qt::Key_F9));
    addCommand(*editMenu_, C::PreviousUntranslatedText, QKeySequence(Qt::SHIFT | Qt::Key_F9));

    viewMenu_ = bar_.addMenu(QString());
    displayFilesMenu_ = viewMenu_->addMenu(QString());
    auto* displayFiles = new QActionGroup(this);
    for (const C command : {C::AllFiles, C::OnlyLevels}) {
        QAction* item = addCommand(*displayFilesMenu_, command);
        item->setCheckable(true);
        displayFiles->addAction(item);
    }
    actions_[C::AllFiles]->setChecked(true);
    QAction* textPreview = addCommand(*viewMenu_, C::DisplayTextPreview);
    textPreview->setCheckable(true);
    textPreview->setChecked(true);
    spellingMenu_ = viewMenu_->addMenu(QString());
    // The hints give each dictionary's own name.
    spellingMenu_->setToolTipsVisible(true);
    dictionaries_ = new QActionGroup(this);
    setDictionaries({});
    levelPreviewSizeMenu_ = viewMenu_->addMenu(QString());
    auto* sizes = new QActionGroup(this);
    for (int size = 1; size <= 4; ++size) {
        QAction* item = levelPreviewSizeMenu_->addAction(QString());
        item->setCheckable(true);
        sizes->addAction(item);
        connect(item, &QAction::triggered, this, [this, size] { emit levelPreviewSizeChosen(size); });
        levelPreviewSizes_[static_cast<std::size_t>(size - 1)] = item;
    }
    levelPreviewSizes_[1]->setChecked(true);
    languageMenu_ = viewMenu_->addMenu(QString());
    languages_ = new QActionGroup(this);
    setLanguages({});

    helpMenu_ = bar_.addMenu(QStringLiteral("?"));
    addCommand(*helpMenu_, C::About);

    // Nothing to find, replace or compare until an archive is open.
    for (const C command : {C::Save, C::SaveAs, C::Compare, C::DisplayLastComparison, C::Find,
                            C::FindNext, C::FindPrevious, C::Replace, C::NextMarkedText,
                            C::PreviousMarkedText}) {
        actions_[command]->setEnabled(false);
    }
    actions_[C::ExportModFolder]->setEnabled(false);
    // Nothing to fit or walk, and nothing to translate against, until an archive (and its
    // original) are open.
    for (const C command :
         {C::NextOverflowingText, C::PreviousOverflowingText, C::FitWindowToText,
          C::OriginalArchive, C::ExportBilingualPo, C::ImportBilingualPo, C::CopyOriginal,
          C::NextUntranslatedText, C::PreviousUntranslatedText}) {
        actions_[command]->setEnabled(false);
    }
    retranslate();
    bar_.installEventFilter(this);
}

bool TMainMenu::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &bar_ && event->type() == QEvent::LanguageChange) retranslate();
    return QObject::eventFilter(watched, event);
}

QAction* TMainMenu::addCommand(QMenu& menu, Command command, const QKeySequence& shortcut) {
    QAction* action = menu.addAction(QString());
    if (!shortcut.isEmpty()) action->setShortcut(shortcut);
    actions_[command] = action;
    return action;
}

QAction* TMainMenu::action(Command command) const { return actions_.at(command); }

QAction* TMainMenu::levelPreviewSizeAction(int size) const {
    return levelPreviewSizes_.at(static_cast<std::size_t>(size - 1));
}

void TMainMenu::setLanguages(const QList<TLanguage>& languages) {
    for (QAction* item : languages_->actions()) {
        languages_->removeAction(item);
        delete item;
    }
    const auto add = [this](const QString& name, const QString& caption) {
        QAction* item = languageMenu_->addAction(Escaped(caption));
        item->setCheckable(true);
        item->setData(name);
        languages_->addAction(item);
        connect(item, &QAction::triggered, this, [this, name] { emit languageChosen(name); });
    };
    add(kEnglish, QStringLiteral("English"));
    for (const TLanguage& language : languages) add(language.name, language.caption);
    languages_->actions().first()->setChecked(true);
    ui::AssignMnemonics(*languageMenu_);
}

QString TMainMenu::checkLanguage(const QString& name) {
    for (QAction* item : languages_->actions()) {
        if (item->data().toString().compare(name, Qt::CaseInsensitive) == 0) {
            item->setChecked(true);
            return item->data().toString();
        }
    }
    return {};
}

QStringList TMainMenu::languageNames() const {
    QStringList names;
    for (const QAction* item : languages_->actions()) names << item->data().toString();
    return names;
}

void TMainMenu::setDictionaries(const QStringList& names) {
    // The items leave their group as they are deleted.
    spellingMenu_->clear();
    if (names.isEmpty()) {
        firstDictionaryItem_ = spellingMenu_->addAction(QString());
        firstDictionaryItem_->setEnabled(false);
    } else {
        firstDictionaryItem_ = nullptr;
        for (const QString& name : QStringList{QString()} + names) {
            QAction* item = spellingMenu_->addAction(Escaped(DictionaryCaption(name)));
            item->setToolTip(name);
            item->setCheckable(true);
            item->setData(name);
            dictionaries_->addAction(item);
            connect(item, &QAction::triggered, this, [this, name] { emit dictionaryChosen(name); });
            if (firstDictionaryItem_ == nullptr) firstDictionaryItem_ = item;
        }
        firstDictionaryItem_->setChecked(true);
    }
    retranslateDictionaries();
}

void TMainMenu::setRecentArchives(const QStringList& paths) {
    recentMenu_->clear();
    for (qsizetype i = 0; i < paths.size(); ++i) {
        const QString path = paths[i];
        QAction* item = recentMenu_->addAction(QStringLiteral("&%1 ").arg(i + 1) +
                                               Escaped(QDir::toNativeSeparators(path)));
        connect(item, &QAction::triggered, this, [this, path] { emit recentArchiveChosen(path); });
    }
    recentMenu_->setEnabled(!paths.isEmpty());
}

bool TMainMenu::checkDictionary(const QString& name) {
    QAction* item = dictionaryAction(name);
    if (item != nullptr) item->setChecked(true);
    return item != nullptr;
}

QAction* TMainMenu::dictionaryAction(const QString& name) const {
    for (QAction* item : dictionaries_->actions()) {
        if (item->data().toString() == name) return item;
    }
    return nullptr;
}

void TMainMenu::retranslateDictionaries() {
    firstDictionaryItem_->setText(Escaped(ui::InterfaceText(
        "general", dictionaries_->actions().isEmpty() ? "no_dictionary" : "no_spell_checking")));
    ui::AssignMnemonics(*spellingMenu_);
}

void TMainMenu::retranslate() {
    fileMenu_->setTitle(Escaped(ui::InterfaceText("general", "file")));
    editMenu_->setTitle(Escaped(ui::InterfaceText("general", "edit")));
    viewMenu_->setTitle(Escaped(ui::InterfaceText("general", "view")));
    displayFilesMenu_->setTitle(Escaped(ui::InterfaceText("general", "display_files")));
    levelPreviewSizeMenu_->setTitle(Escaped(ui::InterfaceText("general", "level_preview_size")));
    languageMenu_->setTitle(Escaped(ui::InterfaceText("general", "language")));
    spellingMenu_->setTitle(Escaped(ui::InterfaceText("general", "spell_checking")));
    recentMenu_->setTitle(Escaped(ui::InterfaceText("general", "recent_archives")));
    retranslateDictionaries();
    for (const auto& [command, action] : actions_) {
        const QString caption = CaptionText(command);
        action->setText(Escaped(caption));
        action->setToolTip(caption);
    }
    const std::array<const char*, 4> sizeKeys = {"small", "normal", "large", "very_large"};
    for (std::size_t i = 0; i < sizeKeys.size(); ++i) {
        levelPreviewSizes_[i]->setText(Escaped(ui::InterfaceText("general", sizeKeys[i])));
    }
    ui::AssignMnemonics(bar_);
}
