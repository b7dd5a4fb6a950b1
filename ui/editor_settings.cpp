#include "ui/editor_settings.h"

#include <algorithm>

#include "jobs/qt_strings.h"
#include "ui/ini_file.h"

namespace {

const QString kSettings = QStringLiteral("SETTINGS");
const QString kWindows = QStringLiteral("WINDOWS");

QString ColumnKey(std::size_t column) {
    return QStringLiteral("LevelsListCol%1").arg(column + 1);
}

const QString kWidestNames = QStringLiteral("widest");
const QString kRecent = QStringLiteral("RECENT");

QString RecentKey(const char* name, std::size_t index) {
    return QString::fromLatin1(name) + QString::number(index + 1);
}

}  // namespace

TEditorSettings TEditorSettings::read(const QString& path) {
    const TIniFile file(path);
    TEditorSettings settings;
    settings.language = file.readString(kSettings, QStringLiteral("Language"), settings.language);
    settings.levelsListSize =
        file.readInteger(kSettings, QStringLiteral("LevelsListSize"), settings.levelsListSize);
    for (std::size_t column = 0; column < settings.columnWidths.size(); ++column) {
        settings.columnWidths[column] =
            file.readInteger(kSettings, ColumnKey(column), settings.columnWidths[column]);
    }
    settings.onlyLevels =
        file.readBool(kSettings, QStringLiteral("DisplayOnlyLevels"), settings.onlyLevels);
    settings.textPreview = file.readBool(kSettings, QStringLiteral("TextPreview"), settings.textPreview);
    const int size = file.readInteger(kSettings, QStringLiteral("LevelPreviewSize"), 1);
    settings.levelPreviewSize = size >= 1 && size <= 4 ? size : 1;
    settings.windowColors = file.readInteger(kSettings, QStringLiteral("WindowColors"), 0);
    settings.windowState = file.readInteger(kSettings, QStringLiteral("WindowState"), 0);
    settings.windowGeometry = QByteArray::fromBase64(
        file.readString(kSettings, QStringLiteral("WindowGeometry"), QString()).toLatin1());
    settings.textPreviewHeight = file.readInteger(kSettings, QStringLiteral("TextPreviewHeight"), 0);
    settings.gameView = file.readBool(kSettings, QStringLiteral("GameView"), settings.gameView);
    if (file.readString(kSettings, QStringLiteral("GameViewNames"), QString())
            .compare(kWidestNames, Qt::CaseInsensitive) == 0) {
        settings.gameViewNames = text::CharacterNames::Widest;
    }
    settings.spellingDictionary =
        file.readString(kSettings, QStringLiteral("SpellingDictionary"), QString());
    for (const auto& [name, colors] : file.readSection(kWindows)) {
        settings.windowProfiles.emplace_back(jobs::toUtf8(name), jobs::toUtf8(colors));
    }
    for (std::size_t index = 0; index < kMostRecentArchives; ++index) {
        const QString archive = file.readPath(kRecent, RecentKey("Archive", index));
        if (archive.isEmpty()) continue;
        settings.recentArchives.push_back(
            {archive, file.readString(kRecent, RecentKey("Level", index), QString()),
             std::max(0, file.readInteger(kRecent, RecentKey("Text", index), 0))});
    }
    return settings;
}

bool TEditorSettings::write(const QString& path) const {
    TIniFile file(path);
    file.writeInteger(kSettings, QStringLiteral("WindowState"), windowState);
    file.writeBool(kSettings, QStringLiteral("TextPreview"), textPreview);
    file.writeBool(kSettings, QStringLiteral("DisplayOnlyLevels"), onlyLevels);
    file.writeInteger(kSettings, QStringLiteral("LevelsListSize"), levelsListSize);
    for (std::size_t column = 0; column < columnWidths.size(); ++column) {
        file.writeInteger(kSettings, ColumnKey(column), columnWidths[column]);
    }
    file.writeInteger(kSettings, QStringLiteral("LevelPreviewSize"), levelPreviewSize);
    file.writeString(kSettings, QStringLiteral("WindowGeometry"),
                     QString::fromLatin1(windowGeometry.toBase64()));
    file.writeInteger(kSettings, QStringLiteral("TextPreviewHeight"), textPreviewHeight);
    file.writeBool(kSettings, QStringLiteral("GameView"), gameView);
    file.writeString(
        kSettings, QStringLiteral("GameViewNames"),
        gameViewNames == text::CharacterNames::Widest ? kWidestNames : QStringLiteral("default"));
    file.writeString(kSettings, QStringLiteral("SpellingDictionary"), spellingDictionary);
    file.eraseSection(kWindows);
    for (const auto& [name, colors] : windowProfiles) {
        file.writeString(kWindows, jobs::fromUtf8(name), jobs::fromUtf8(colors));
    }
    file.writeInteger(kSettings, QStringLiteral("WindowColors"), windowColors);
    file.eraseSection(kRecent);
    for (std::size_t index = 0; index < recentArchives.size() && index < kMostRecentArchives; ++index) {
        const TRecentArchive& recent = recentArchives[index];
        file.writePath(kRecent, RecentKey("Archive", index), recent.path);
        file.writeString(kRecent, RecentKey("Level", index), recent.level);
        file.writeInteger(kRecent, RecentKey("Text", index), recent.text);
    }
    return file.save();
}

bool TEditorSettings::writeLanguage(const QString& path, const QString& language) {
    TIniFile file(path);
    file.writeString(kSettings, QStringLiteral("Language"), language);
    return file.save();
}
