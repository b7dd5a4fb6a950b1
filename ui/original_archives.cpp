#include "ui/original_archives.h"

#include <utility>
#include <vector>

#include <QDir>
#include <QFileInfo>

#include "ui/ini_file.h"

namespace {

const QString kSection = QStringLiteral("ORIGINALS");

QString ArchiveKey(int n) { return QStringLiteral("Archive%1").arg(n); }
QString OriginalKey(int n) { return QStringLiteral("Original%1").arg(n); }

// The path that names the file: absolute, its links resolved when it exists.
QString FilePath(const QString& path) {
    const QFileInfo file(path);
    const QString canonical = file.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(file.absoluteFilePath()) : canonical;
}

// The remembered pairs, first first, as stored.
std::vector<std::pair<QString, QString>> ReadPairs(const TIniFile& file) {
    std::vector<std::pair<QString, QString>> pairs;
    for (int n = 1;; ++n) {
        QString archive = file.readPath(kSection, ArchiveKey(n));
        QString original = file.readPath(kSection, OriginalKey(n));
        if (archive.isEmpty() || original.isEmpty()) break;
        pairs.emplace_back(std::move(archive), std::move(original));
    }
    return pairs;
}

}  // namespace

TOriginalArchives::TOriginalArchives(QString settingsFile)
    : settingsFile_(std::move(settingsFile)) {}

QString TOriginalArchives::originalOf(const QString& archive) const {
    const QString wanted = FilePath(archive);
    for (const auto& [remembered, original] : ReadPairs(TIniFile(settingsFile_))) {
        if (FilePath(remembered) == wanted) return original;
    }
    return {};
}

bool TOriginalArchives::remember(const QString& archive, const QString& original) const {
    TIniFile file(settingsFile_);
    const QString kept = FilePath(archive);
    std::vector<std::pair<QString, QString>> pairs{{kept, original}};
    for (auto& pair : ReadPairs(file)) {
        if (pairs.size() == static_cast<std::size_t>(kRemembered)) break;
        if (FilePath(pair.first) != kept) pairs.push_back(std::move(pair));
    }
    file.eraseSection(kSection);
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        const int n = static_cast<int>(i) + 1;
        file.writePath(kSection, ArchiveKey(n), pairs[i].first);
        file.writePath(kSection, OriginalKey(n), pairs[i].second);
    }
    return file.save();
}
