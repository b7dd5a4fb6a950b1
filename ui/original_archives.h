#pragma once

#include <QString>

// The original archive of each translated archive, as settings.ini remembers them: section
// "ORIGINALS", keys ArchiveN and OriginalN (N from 1), the archive whose original was set last
// first, at most kRemembered of them. Every change is written at once, as the language is.
// Paths are stored as file:// URLs (TIniFile::writePath), so that every path comes back whole.
class TOriginalArchives {
public:
    static constexpr int kRemembered = 20;

    explicit TOriginalArchives(QString settingsFile);

    // The original remembered for the archive at path, archives matched by their absolute
    // paths with links resolved; empty when none is.
    QString originalOf(const QString& archive) const;
    // Remembers `original` for `archive`, first. Returns false when settings.ini cannot be
    // written.
    bool remember(const QString& archive, const QString& original) const;

private:
    const QString settingsFile_;
};
