#pragma once

#include <QString>
#include <QStringList>

// Where the editor keeps settings.ini and finds its language files.
struct TEditorPaths {
    QString settingsFile;
    // Searched in this order; a language found in an earlier folder hides one of the same name
    // in a later folder.
    QStringList languageFolders;

    // A portable copy, whose folder is writable, keeps settings.ini beside the program; an
    // installed one keeps it in the user's configuration folder. Language files are read from
    // the program's folder, the installed data folder and the user's data folder.
    static TEditorPaths forProgram();
    // Everything in one folder, as a portable copy; for tests and tools.
    static TEditorPaths inFolder(const QString& folder);
};
