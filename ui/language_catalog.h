#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The name of the built-in English, the language of every key a language file lacks.
inline constexpr char kEnglishLanguage[] = "eng";

// A language file the editor offers: "fra.lng" is named "fra" and captioned by its own
// "header"/"language" value.
struct TLanguage {
    QString name;
    QString caption;
    QString path;
};

// The language files of the given folders: ordinary files named with three characters and the
// extension ".lng" (in any case), but for "eng", which the built-in English stands for. A name
// found in an earlier folder hides the same name (ignoring case) in later ones. Sorted by name.
QList<TLanguage> FindLanguages(const QStringList& folders);

// The file of a language name in the folders ("eng" included, for a file that changes the
// English texts), or empty when there is none.
QString LanguageFile(const QStringList& folders, const QString& name);

// Makes the language file at path the interface's language: every interface text and every
// level description takes the file's value, or its English default where the file lacks the
// key. An empty or unreadable path restores English throughout.
void LoadLanguage(const QString& path);
