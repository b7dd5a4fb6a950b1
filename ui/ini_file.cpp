#include "ui/ini_file.h"

#include <string>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

// Byte strings only: the values are Windows-1252, converted here.
#define SI_NO_CONVERSION
#include <SimpleIni.h>

#include "jobs/qt_strings.h"

namespace {

std::string ToFile(const QString& text) {
    return jobs::toWindows1252(text).text;
}

QString FromFile(const char* text) {
    return jobs::fromWindows1252(text);
}

}  // namespace

// The file's contents: byte strings as stored, keys and sections without regard to case.
class TIniFile::Data {
public:
    CSimpleIniA ini{false, false, false};
};

TIniFile::TIniFile(QString path) : path_(std::move(path)), data_(std::make_unique<Data>()) {
    // Plain "key=value" lines, as other INI readers and writers expect them.
    data_->ini.SetSpaces(false);
    QFile file(path_);
    if (path_.isEmpty() || !file.open(QIODevice::ReadOnly)) return;
    const QByteArray bytes = file.readAll();
    if (data_->ini.LoadData(bytes.constData(), static_cast<std::size_t>(bytes.size())) < 0) {
        data_->ini.Reset();
    }
}

TIniFile::~TIniFile() = default;

QString TIniFile::readString(const QString& section, const QString& key,
                             const QString& fallback) const {
    const char* value = data_->ini.GetValue(ToFile(section).c_str(), ToFile(key).c_str());
    return value != nullptr ? FromFile(value) : fallback;
}

int TIniFile::readInteger(const QString& section, const QString& key, int fallback) const {
    const char* value = data_->ini.GetValue(ToFile(section).c_str(), ToFile(key).c_str());
    if (value == nullptr) return fallback;
    bool ok = false;
    const int number = QString::fromLatin1(value).trimmed().toInt(&ok);
    return ok ? number : fallback;
}

bool TIniFile::readBool(const QString& section, const QString& key, bool fallback) const {
    return readInteger(section, key, fallback ? 1 : 0) != 0;
}

std::vector<std::pair<QString, QString>> TIniFile::readSection(const QString& section) const {
    std::vector<std::pair<QString, QString>> entries;
    const std::string name = ToFile(section);
    CSimpleIniA::TNamesDepend keys;
    if (!data_->ini.GetAllKeys(name.c_str(), keys)) return entries;
    keys.sort(CSimpleIniA::Entry::LoadOrder());
    for (const CSimpleIniA::Entry& key : keys) {
        const char* value = data_->ini.GetValue(name.c_str(), key.pItem);
        entries.emplace_back(FromFile(key.pItem), FromFile(value != nullptr ? value : ""));
    }
    return entries;
}

void TIniFile::writeString(const QString& section, const QString& key, const QString& value) {
    data_->ini.SetValue(ToFile(section).c_str(), ToFile(key).c_str(), ToFile(value).c_str());
}

void TIniFile::writeInteger(const QString& section, const QString& key, int value) {
    writeString(section, key, QString::number(value));
}

void TIniFile::writeBool(const QString& section, const QString& key, bool value) {
    writeInteger(section, key, value ? 1 : 0);
}

void TIniFile::eraseSection(const QString& section) {
    data_->ini.Delete(ToFile(section).c_str(), nullptr);
}

bool TIniFile::save() const {
    std::string contents;
    if (data_->ini.Save(contents, false) < 0) return false;
    if (!QDir().mkpath(QFileInfo(path_).absolutePath())) return false;
    // Written beside the file and put in its place, so that a failure leaves the old one.
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly)) return false;
    file.write(contents.data(), static_cast<qint64>(contents.size()));
    return file.commit();
}
