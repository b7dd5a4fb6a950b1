#include "ui/ini_file.h"

#include <algorithm>
#include <string>
#include <string_view>

#include <QByteArrayView>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QUrl>

// Byte strings only: the values are UTF-8, converted from and to the file's encoding here.
#define SI_NO_CONVERSION
#include <SimpleIni.h>

#include "jobs/qt_strings.h"

namespace {

// How the file's text is stored, kept so that saving writes it back the same way.
enum class Encoding { Windows1252, Utf8, Utf8WithMark, Utf16LE, Utf16BE };

// A file's text as UTF-8, with what had to be dropped to read it.
struct DecodedText {
    std::string utf8;
    Encoding encoding = Encoding::Windows1252;
    // Why the file cannot be read whole as text; empty when it can.
    QString damage;
};

// The text of `bytes`, read in `encoding`, as UTF-8; `damage` says so when it is not valid
// there.
std::string DecodeWith(QStringConverter::Encoding encoding, QByteArrayView bytes, QString& damage) {
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError()) {
        damage = QStringLiteral("it is not valid %1")
                     .arg(QString::fromLatin1(QStringConverter::nameForEncoding(encoding)));
    }
    return jobs::toUtf8(text);
}

// Reads a file written as Windows Notepad and other editors write INI files: UTF-16 or UTF-8
// after a byte-order mark, UTF-8 when every byte reads as UTF-8 and one is not ASCII, and
// Windows-1252 otherwise. NUL characters, which would end the text for the INI reader, are
// dropped and make the file damaged.
DecodedText Decode(const QByteArray& bytes) {
    DecodedText decoded;
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        const bool little = bytes.startsWith("\xFF\xFE");
        decoded.encoding = little ? Encoding::Utf16LE : Encoding::Utf16BE;
        decoded.utf8 = DecodeWith(little ? QStringConverter::Utf16LE : QStringConverter::Utf16BE,
                                  QByteArrayView(bytes).sliced(2), decoded.damage);
    } else if (bytes.startsWith("\xEF\xBB\xBF")) {
        decoded.encoding = Encoding::Utf8WithMark;
        decoded.utf8 =
            DecodeWith(QStringConverter::Utf8, QByteArrayView(bytes).sliced(3), decoded.damage);
    } else {
        QString notUtf8;
        decoded.utf8 = DecodeWith(QStringConverter::Utf8, bytes, notUtf8);
        const bool ascii = std::all_of(bytes.begin(), bytes.end(),
                                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
        if (notUtf8.isEmpty() && !ascii) {
            decoded.encoding = Encoding::Utf8;
        } else {
            decoded.utf8 = text::Windows1252ToUtf8(
                std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
        }
    }
    const auto nuls = std::erase(decoded.utf8, '\0');
    if (nuls > 0 && decoded.damage.isEmpty()) {
        decoded.damage = QStringLiteral("it holds %1 NUL bytes").arg(nuls);
    }
    return decoded;
}

// The UTF-8 text in the file's encoding.
QByteArray Encode(const std::string& utf8, Encoding encoding) {
    switch (encoding) {
        case Encoding::Windows1252:
            return QByteArray::fromStdString(text::Utf8ToWindows1252(utf8).text);
        case Encoding::Utf8:
            return QByteArray::fromStdString(utf8);
        case Encoding::Utf8WithMark:
            return QByteArray("\xEF\xBB\xBF") + QByteArray::fromStdString(utf8);
        case Encoding::Utf16LE:
        case Encoding::Utf16BE: {
            QStringEncoder encoder(encoding == Encoding::Utf16LE ? QStringConverter::Utf16LE
                                                                 : QStringConverter::Utf16BE,
                                   QStringConverter::Flag::WriteBom);
            return encoder.encode(jobs::fromUtf8(utf8));
        }
    }
    return {};
}

// Writes the file in one step: written beside it and put in its place, so that a failure
// leaves the old one.
bool WriteFile(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    file.write(bytes);
    return file.commit();
}

std::string ToText(const QString& text) { return jobs::toUtf8(text); }

QString FromText(const char* text) { return jobs::fromUtf8(text); }

}  // namespace

// The file's contents: UTF-8 byte strings, keys and sections without regard to case, and how
// the file was read.
class TIniFile::Data {
public:
    CSimpleIniA ini{false, false, false};
    Encoding encoding = Encoding::Windows1252;
    // The file's bytes when they could not be read whole, and why: kept as PATH.bak before the
    // file is written again.
    QByteArray damagedBytes;
    QString damage;
};

TIniFile::TIniFile(QString path) : path_(std::move(path)), data_(std::make_unique<Data>()) {
    // Plain "key=value" lines, as other INI readers and writers expect them.
    data_->ini.SetSpaces(false);
    QFile file(path_);
    if (path_.isEmpty() || !file.open(QIODevice::ReadOnly)) return;
    const QByteArray bytes = file.readAll();
    const DecodedText decoded = Decode(bytes);
    data_->encoding = decoded.encoding;
    if (data_->ini.LoadData(decoded.utf8.data(), decoded.utf8.size()) < 0) {
        data_->ini.Reset();
        data_->damage = QStringLiteral("it cannot be read as an INI file");
    } else {
        data_->damage = decoded.damage;
    }
    if (!data_->damage.isEmpty()) data_->damagedBytes = bytes;
}

TIniFile::~TIniFile() = default;

QString TIniFile::readString(const QString& section, const QString& key,
                             const QString& fallback) const {
    const char* value = data_->ini.GetValue(ToText(section).c_str(), ToText(key).c_str());
    return value != nullptr ? FromText(value) : fallback;
}

int TIniFile::readInteger(const QString& section, const QString& key, int fallback) const {
    const char* value = data_->ini.GetValue(ToText(section).c_str(), ToText(key).c_str());
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
    const std::string name = ToText(section);
    CSimpleIniA::TNamesDepend keys;
    if (!data_->ini.GetAllKeys(name.c_str(), keys)) return entries;
    keys.sort(CSimpleIniA::Entry::LoadOrder());
    for (const CSimpleIniA::Entry& key : keys) {
        const char* value = data_->ini.GetValue(name.c_str(), key.pItem);
        entries.emplace_back(FromText(key.pItem), FromText(value != nullptr ? value : ""));
    }
    return entries;
}

void TIniFile::writeString(const QString& section, const QString& key, const QString& value) {
    data_->ini.SetValue(ToText(section).c_str(), ToText(key).c_str(), ToText(value).c_str());
}

QString TIniFile::readPath(const QString& section, const QString& key) const {
    const QUrl url(readString(section, key, QString()));
    return url.isLocalFile() ? url.toLocalFile() : QString();
}

void TIniFile::writePath(const QString& section, const QString& key, const QString& path) {
    writeString(section, key, QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded));
}

void TIniFile::writeInteger(const QString& section, const QString& key, int value) {
    writeString(section, key, QString::number(value));
}

void TIniFile::writeBool(const QString& section, const QString& key, bool value) {
    writeInteger(section, key, value ? 1 : 0);
}

void TIniFile::eraseSection(const QString& section) {
    data_->ini.Delete(ToText(section).c_str(), nullptr);
}

bool TIniFile::save() const {
    std::string contents;
    if (data_->ini.Save(contents, false) < 0) return false;
    if (!QDir().mkpath(QFileInfo(path_).absolutePath())) return false;
    if (!data_->damage.isEmpty()) {
        // What could not be read is not written over: the user may still want it.
        const QString backup = path_ + QStringLiteral(".bak");
        if (!WriteFile(backup, data_->damagedBytes)) return false;
        qWarning().noquote() << QStringLiteral(
                                    "%1 could not be read whole (%2): it is kept as %3 "
                                    "and written anew")
                                    .arg(QDir::toNativeSeparators(path_), data_->damage,
                                         QDir::toNativeSeparators(backup));
        data_->damage.clear();
        data_->damagedBytes.clear();
    }
    return WriteFile(path_, Encode(contents, data_->encoding));
}
