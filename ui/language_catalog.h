#pragma once

#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>

// A language file the editor offers: "fra.lng" is named "fra" and captioned by its own
// "header"/"language" value.
struct TLanguage {
    QString name;
    QString caption;
    QString path;
};

namespace ui {

// The name of the built-in English, the language of every key a language file lacks.
inline constexpr char kEnglishLanguage[] = "eng";

// The language files of the given folders: ordinary files named with three characters and the
// extension ".lng" (in any case), but for "eng", which the built-in English stands for. A name
// found in an earlier folder hides the same name (ignoring case) in later ones. Sorted by name.
QList<TLanguage> FindLanguages(const QStringList& folders);

// The file of a language name in the folders ("eng" included, for a file that changes the
// English texts), or empty when there is none.
QString LanguageFile(const QStringList& folders, const QString& name);

// The locale of the language file at path: its "header"/"locale" value (such as "fr" or
// "pt_BR"), else its base name read as a three-letter ISO 639 code ("fra"); QLocale::C when
// neither names a language.
QLocale LanguageLocale(const QString& path);

// The folders searched for Qt's own translations (qtbase_fr.qm...): "translations" beside the
// program, as a Windows copy keeps them, then Qt's own folder.
QStringList QtTranslationFolders();

// Makes the language file at path the interface's language: every interface text and every
// level description takes the file's value, or its English default where the file lacks the
// key, and Qt's own texts (the standard buttons, the file dialogs, the editors' context menus)
// take the translation of the file's locale when one is installed. Then every window reads its
// captions again (through Qt's QEvent::LanguageChange). An empty or unreadable path restores
// English throughout.
void LoadLanguage(const QString& path);

}  // namespace ui
