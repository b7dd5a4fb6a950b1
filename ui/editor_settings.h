#pragma once

#include <array>
#include <cstddef>
#include <vector>

#include <QByteArray>
#include <QString>

#include "preview/color_profiles.h"
#include "text/text_layout.h"
#include "ui/language_catalog.h"

// An archive opened lately and where the user left it: the selected file's name and the
// selected text's number, from 1 (0 for none).
struct TRecentArchive {
    QString path;
    QString level;
    int text = 0;

    bool operator==(const TRecentArchive&) const = default;
};

// What settings.ini keeps between runs: section "SETTINGS" and the colour profiles of section
// "WINDOWS". The defaults are what a first run shows.
struct TEditorSettings {
    QString language = QString::fromLatin1(ui::kEnglishLanguage);
    // The position of the splitter between the file list and the texts; 0 makes the file list
    // as wide as its columns.
    int levelsListSize = 0;
    std::array<int, 6> columnWidths = {30, 75, 145, 50, 70, 70};
    bool onlyLevels = false;
    bool textPreview = true;
    // 1 Small to 4 Very large; a stored value outside that range reads as 1.
    int levelPreviewSize = 1;
    // 0: the default colours; n: the n-th profile.
    int windowColors = 0;
    // 0 normal, 1 minimised, 2 maximised; written for other tools, the geometry restores it.
    int windowState = 0;
    // The main window's size, place and state as Qt saves them; empty until first written.
    QByteArray windowGeometry;
    // Height of the text preview below the editor; 0 follows the level preview size.
    int textPreviewHeight = 0;
    // The text preview's game view, and the names it and the overflow marks draw for the name
    // tags: Default or Widest, stored as "default" or "widest" (anything else reads as the
    // default names).
    bool gameView = false;
    text::CharacterNames gameViewNames = text::CharacterNames::Default;
    // The spelling dictionary's name, such as "en_US"; empty for no spell checking.
    QString spellingDictionary;
    // Section "WINDOWS" in file order: profile name and its colour string, as stored (UTF-8).
    TColorProfiles::Section windowProfiles;
    // Section "RECENT": the archives opened lately, the most recent first, at most
    // kMostRecentArchives; their paths are stored as file URLs, which keep every character.
    static constexpr std::size_t kMostRecentArchives = 8;
    std::vector<TRecentArchive> recentArchives;

    // Reads the file; every key that is missing or not a number keeps its default.
    static TEditorSettings read(const QString& path);
    // Writes every key but "Language" and rewrites sections "WINDOWS" and "RECENT", keeping the
    // file's other lines. Returns false when the file cannot be written.
    bool write(const QString& path) const;
    // Writes "Language" alone, at once when the user chooses a language.
    static bool writeLanguage(const QString& path, const QString& language);
};
