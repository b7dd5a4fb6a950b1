#pragma once

#include <memory>
#include <utility>
#include <vector>

#include <QString>

// An INI file as the editor's settings and language files are written: "[section]" lines and
// "key=value" lines, sections and keys matched without regard to case. The text is UTF-16 or
// UTF-8 after a byte-order mark (as Windows Notepad saves it), UTF-8 when every byte reads so,
// and Windows-1252 otherwise; it is written back the way it was read (a new file in
// Windows-1252). The whole file is read at construction; writes change the copy in memory,
// and Save writes it back whole, so that lines this program does not know keep their place.
class TIniFile {
public:
    // Reads path; a missing or unreadable file reads as empty. A file that cannot be read whole
    // (NUL bytes, which are dropped, or text not valid in its encoding) reads as far as it can,
    // and the first save keeps it as PATH.bak.
    explicit TIniFile(QString path);
    ~TIniFile();
    TIniFile(const TIniFile&) = delete;
    TIniFile& operator=(const TIniFile&) = delete;

    const QString& path() const { return path_; }

    // The value of a key, or `fallback` when the section or key is missing.
    QString readString(const QString& section, const QString& key, const QString& fallback) const;
    // A decimal integer; `fallback` as well when the value is not one.
    int readInteger(const QString& section, const QString& key, int fallback) const;
    // Any integer other than 0 reads as true; `fallback` when the value is not an integer.
    bool readBool(const QString& section, const QString& key, bool fallback) const;
    // A file's path written by writePath; empty when the key is missing or names no file.
    QString readPath(const QString& section, const QString& key) const;
    // Every key of a section and its value, in the file's order.
    std::vector<std::pair<QString, QString>> readSection(const QString& section) const;

    void writeString(const QString& section, const QString& key, const QString& value);
    void writeInteger(const QString& section, const QString& key, int value);
    // Written as 1 or 0.
    void writeBool(const QString& section, const QString& key, bool value);
    // Written as a file:// URL, every character outside printable ASCII percent-encoded in
    // UTF-8, so that any path comes back whole whatever the file's encoding.
    void writePath(const QString& section, const QString& key, const QString& path);
    // Removes a section and its keys.
    void eraseSection(const QString& section);

    // Writes the file, creating its folder when needed; a file that could not be read whole is
    // first copied, as it was, to PATH.bak (said on standard error). Returns false when either
    // cannot be written; the file on disk is then as it was.
    bool save() const;

private:
    class Data;

    QString path_;
    std::unique_ptr<Data> data_;
};
