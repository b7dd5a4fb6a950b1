#include "ui/editor_paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "jobs/qt_strings.h"
#include "platform/data_folders.h"
#include "platform/program_folder.h"
#include "platform/utf8_path.h"
#include "spelling/user_word_list.h"

namespace {

constexpr auto kSettingsName = "settings.ini";

// True when the program may keep its settings in `folder`: a copy of its own (not installed
// beside a shared data folder) whose folder is writable, and so is an existing settings.ini.
bool KeepsSettings(const QString& folder) {
    if (!QFileInfo(folder).isWritable() || QDir(folder + QStringLiteral("/../share/orvenne")).exists()) {
        return false;
    }
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
    for (const std::filesystem::path& folder : platform::DataFolders()) {
        paths.languageFolders << jobs::fromUtf8(platform::Utf8FromPath(folder));
    }
    paths.dictionaryFolders = platform::DictionaryFolders();
    paths.userWordsFile = spelling::UserWordList().File();
    return paths;
}

TEditorPaths TEditorPaths::inFolder(const QString& folder) {
    const std::filesystem::path local = platform::PathFromUtf8(jobs::toUtf8(folder));
    return {QDir(folder).filePath(QString::fromLatin1(kSettingsName)),
            {folder},
            {local},
            local / "user_words.txt"};
}
