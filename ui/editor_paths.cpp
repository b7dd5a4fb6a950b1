#include "ui/editor_paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

constexpr auto kSettingsName = "settings.ini";
// Below a data folder: the language files of an installed copy.
constexpr auto kLanguageSubfolder = "orvenne/lang";

// True when the program may keep its settings in `folder`: the folder is writable, and so is
// an existing settings.ini.
bool KeepsSettings(const QString& folder) {
    if (!QFileInfo(folder).isWritable()) return false;
    const QFileInfo settings(QDir(folder).filePath(QString::fromLatin1(kSettingsName)));
    return !settings.exists() || settings.isWritable();
}

}  // namespace

TEditorPaths TEditorPaths::forProgram() {
    const QString program = QCoreApplication::applicationDirPath();
    TEditorPaths paths;
    if (KeepsSettings(program)) {
        paths.settingsFile = QDir(program).filePath(QString::fromLatin1(kSettingsName));
    } else {
        paths.settingsFile =
            QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
                .filePath(QStringLiteral("orvenne/") + QString::fromLatin1(kSettingsName));
    }
    paths.languageFolders << program;
    paths.languageFolders << QDir::cleanPath(program + QStringLiteral("/../share/") +
                                             QString::fromLatin1(kLanguageSubfolder));
    // The user's data folder first, then the system's.
    for (const QString& data : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation)) {
        const QString folder = QDir(data).filePath(QString::fromLatin1(kLanguageSubfolder));
        if (!paths.languageFolders.contains(folder)) paths.languageFolders << folder;
    }
    return paths;
}

TEditorPaths TEditorPaths::inFolder(const QString& folder) {
    return {QDir(folder).filePath(QString::fromLatin1(kSettingsName)), {folder}};
}
