#pragma once

#include <memory>
#include <string>

#include <QFile>
#include <QLocale>
#include <QString>
#include <QTemporaryDir>

#include "jobs/qt_strings.h"
#include "lgp/level_tables.h"
#include "lgp/lgp_file.h"
#include "sample/sample_archive.h"
#include "text/text_decoder.h"

// The six-level demo archive for the tests of the main window: written once, with what the
// generator says it holds, and copied afresh for each test beside a settings folder of its own,
// so that no test sees what another saved. Numbers are written in American English.
class DemoArchive {
public:
    // In initTestCase. False when the files cannot be written.
    bool write() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        if (!folder_.isValid()) return false;
        original_ = folder_.filePath(QStringLiteral("demo.lgp"));
        sample_ = sample::WriteSampleArchive(jobs::toUtf8(original_), {.levels = 6});
        return true;
    }

    // In init: a fresh copy at path() and an empty settings folder.
    bool renew() {
        path_ = folder_.filePath(QStringLiteral("levels.lgp"));
        QFile::remove(path_);
        settings_ = std::make_unique<QTemporaryDir>();
        return QFile::copy(original_, path_) && settings_->isValid();
    }

    const QString& path() const { return path_; }
    QString settings() const { return settings_->path(); }
    const sample::SampleArchive& sample() const { return sample_; }

    // Table index of the first level that the generator gave at least `texts` texts, and a
    // text with a window when `windowed`; -1 when none has.
    int levelWith(int texts, bool windowed = false) const {
        for (const sample::SampleLevel& level : sample_.levels) {
            if (level.texts < texts || (windowed && level.windowedTexts == 0)) continue;
            return sample_.TableIndex(level.name);
        }
        return -1;
    }

    // Non-overlapping occurrences of `search` in a tagged text, as replace-all counts them.
    static int occurrences(const std::string& tagged, const std::string& search) {
        int count = 0;
        for (std::size_t at = tagged.find(search); at != std::string::npos;
             at = tagged.find(search, at + search.size())) {
            ++count;
        }
        return count;
    }
    // The same in every text of the levels of `archive`.
    static int occurrences(const TLGPFile& archive, const std::string& search) {
        int count = 0;
        for (const auto& subFile : archive.SubFiles) {
            if (!lgp::IsLevel(*subFile)) continue;
            for (const TLevelText& text : subFile->Texts) {
                count += occurrences(text::DecodeText(text.Bytes), search);
            }
        }
        return count;
    }

private:
    QTemporaryDir folder_;
    QString original_;
    QString path_;
    std::unique_ptr<QTemporaryDir> settings_;
    sample::SampleArchive sample_;
};
