#include "ui/editor_settings.h"

#include "ui/ini_file.h"

namespace {

const QString kSettings = QStringLiteral("SETTINGS");
const QString kWindows = QStringLiteral("WINDOWS");

QString ColumnKey(std::size_t column) {
    return QStringLiteral("LevelsListCol%1").arg(column + 1);
}

}  // namespace

TEditorSettings TEditorSettings::Read(const QString& path) {
    const TIniFile file(path);
    TEditorSettings settings;
    settings.language = file.ReadString(kSettings, QStringLiteral("Language"), settings.language);
    settings.levelsListSize =
        file.ReadInteger(kSettings, QStringLiteral("LevelsListSize"), settings.levelsListSize);
    for (std::size_t column = 0; column < settings.columnWidths.size(); ++column) {
        settings.columnWidths[column] =
            file.ReadInteger(kSettings, ColumnKey(column), settings.columnWidths[column]);
    }
    settings.onlyLevels =
        file.ReadBool(kSettings, QStringLiteral("DisplayOnlyLevels"), settings.onlyLevels);
    settings.textPreview = file.ReadBool(kSettings, QStringLiteral("TextPreview"), settings.textPreview);
    const int size = file.ReadInteger(kSettings, QStringLiteral("LevelPreviewSize"), 1);
    settings.levelPreviewSize = size >= 1 && size <= 4 ? size : 1;
    settings.windowColors = file.ReadInteger(kSettings, QStringLiteral("WindowColors"), 0);
    settings.windowState = file.ReadInteger(kSettings, QStringLiteral("WindowState"), 0);
    settings.windowGeometry = QByteArray::fromBase64(
        file.ReadString(kSettings, QStringLiteral("WindowGeometry"), QString()).toLatin1());
    settings.textPreviewHeight = file.ReadInteger(kSettings, QStringLiteral("TextPreviewHeight"), 0);
    settings.windowProfiles = file.ReadSection(kWindows);
    return settings;
}

bool TEditorSettings::Write(const QString& path) const {
    TIniFile file(path);
    file.WriteInteger(kSettings, QStringLiteral("WindowState"), windowState);
    file.WriteBool(kSettings, QStringLiteral("TextPreview"), textPreview);
    file.WriteBool(kSettings, QStringLiteral("DisplayOnlyLevels"), onlyLevels);
    file.WriteInteger(kSettings, QStringLiteral("LevelsListSize"), levelsListSize);
    for (std::size_t column = 0; column < columnWidths.size(); ++column) {
        file.WriteInteger(kSettings, ColumnKey(column), columnWidths[column]);
    }
    file.WriteInteger(kSettings, QStringLiteral("LevelPreviewSize"), levelPreviewSize);
    file.WriteString(kSettings, QStringLiteral("WindowGeometry"),
                     QString::fromLatin1(windowGeometry.toBase64()));
    file.WriteInteger(kSettings, QStringLiteral("TextPreviewHeight"), textPreviewHeight);
    file.EraseSection(kWindows);
    for (const auto& [name, colors] : windowProfiles) file.WriteString(kWindows, name, colors);
    file.WriteInteger(kSettings, QStringLiteral("WindowColors"), windowColors);
    return file.Save();
}

bool TEditorSettings::WriteLanguage(const QString& path, const QString& language) {
    TIniFile file(path);
    file.WriteString(kSettings, QStringLiteral("Language"), language);
    return file.Save();
}
