#pragma once

#include <filesystem>
#include <vector>

#include <QString>
#include <QStringList>

// Where the editor keeps settings.ini and the user's word list, and finds its language files
// and spelling dictionaries.
struct TEditorPaths {
    QString settingsFile;
    // Searched in this order; a language found in an earlier folder hides one of the same name
    // in a later folder.
    QStringList languageFolders;
    // Searched in this order, as the language folders are.
    std::vector<std::filesystem::path> dictionaryFolders;
    // The words the user added to every dictionary.
    std::filesystem::path userWordsFile;

    // A portable copy, whose folder is writable, keeps settings.ini beside the program; an
    // installed one keeps it in the user's configuration folder. Language files are read from
    // the program's folder, the installed data folder and the user's data folder; dictionaries
    // from the system's dictionary folders; the word list lies in the user's data folder.
    static TEditorPaths forProgram();
    // Everything in one folder, as a portable copy; for tests and tools.
    static TEditorPaths inFolder(const QString& folder);
};
