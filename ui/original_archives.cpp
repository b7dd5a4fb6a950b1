#include "ui/original_archives.h"

#include <string>
#include <utility>
#include <vector>

#include <QDir>
#include <QFileInfo>

#include "jobs/qt_strings.h"
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

QString Encoded(const QString& path) {
    QString stored;
    for (const char c : jobs::toUtf8(path)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && byte != '%') {
            stored += QChar(byte);
        } else {
            stored += QStringLiteral("%%1").arg(byte, 2, 16, QChar(u'0')).toUpper();
        }
    }
    return stored;
}

int HexDigit(QChar c) {
    if (c >= u'0' && c <= u'9') return c.unicode() - u'0';
    if (c >= u'A' && c <= u'F') return c.unicode() - u'A' + 10;
    if (c >= u'a' && c <= u'f') return c.unicode() - u'a' + 10;
    return -1;
}

QString Decoded(const QString& stored) {
    std::string utf8;
    for (qsizetype i = 0; i < stored.size(); ++i) {
        const int high = i + 2 < stored.size() && stored[i] == u'%' ? HexDigit(stored[i + 1]) : -1;
        const int low = high >= 0 ? HexDigit(stored[i + 2]) : -1;
        if (low >= 0) {
            utf8 += static_cast<char>(high * 16 + low);
            i += 2;
        } else {
            // A character typed into the file by hand.
            utf8 += jobs::toUtf8(QString(stored[i]));
        }
    }
    return jobs::fromUtf8(utf8);
}

// The remembered pairs, first first, as stored.
std::vector<std::pair<QString, QString>> ReadPairs(const TIniFile& file) {
    std::vector<std::pair<QString, QString>> pairs;
    for (int n = 1;; ++n) {
        const QString archive = file.readString(kSection, ArchiveKey(n), QString());
        const QString original = file.readString(kSection, OriginalKey(n), QString());
        if (archive.isEmpty() || original.isEmpty()) break;
        pairs.emplace_back(Decoded(archive), Decoded(original));
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
        file.writeString(kSection, ArchiveKey(n), Encoded(pairs[i].first));
        file.writeString(kSection, OriginalKey(n), Encoded(pairs[i].second));
    }
    return file.save();
}
