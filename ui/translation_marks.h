#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QObject>
#include <QString>

#include "translation/archive_review.h"
#include "translation/findings.h"

class TLGPFile;

// The open archive reviewed against the original archive it was translated from, as the
// editor shows it: per text whether it is still untranslated, what the checks found and the
// original's text; per level and for the archive how much is translated. Without an original
// nothing is marked. After the review is made, only what changes is reviewed again: the edited
// text at each keystroke. Whoever changes a text tells the marks first, so that observers of
// the change find them up to date. Files are addressed by table index, texts from 0.
class TTranslationMarks : public QObject {
    Q_OBJECT

public:
    explicit TTranslationMarks(QObject* parent = nullptr);
    ~TTranslationMarks() override;

    // Takes the original read from `path` and its review of the open archive, which must
    // outlive them or the next call; tells originalChanged.
    void setOriginal(const QString& path, std::unique_ptr<TLGPFile> original,
                     std::unique_ptr<translation::ArchiveReview> review);
    // Lets the original and its review go, before the archive they were made for is replaced;
    // tells originalChanged when there was one.
    void dropOriginal();
    // Reviews one text again after its bytes changed; tells marksChanged when its state or its
    // findings did. Nothing without an original or for a place out of range.
    void textChanged(int subFile, int text);

    bool hasOriginal() const { return review_ != nullptr; }
    // The original's file; empty without an original.
    const QString& originalPath() const { return path_; }
    // The original archive; null without one.
    const TLGPFile* original() const { return original_.get(); }

    // True while the text's bytes equal the original's.
    bool isUntranslated(int subFile, int text) const;
    // False as well without an original or for a place out of range.
    bool hasFindings(int subFile, int text) const;
    bool hasErrors(int subFile, int text) const;
    // The findings in the interface's language, one line each ("Error: {VAR1} missing");
    // empty when there is none.
    QString hints(int subFile, int text) const;
    // The original's text as tagged text (Windows-1252, CR LF); none when the original lacks
    // the level or the text, and without an original.
    std::optional<std::string> originalTagged(int subFile, int text) const;
    // The original's bytes of the text (0xFF included); null where originalTagged has none.
    const std::vector<std::uint8_t>* originalBytes(int subFile, int text) const;

    // Translated texts out of all of the level's ({0, 0} for a file that is not a level, and
    // without an original), and of the archive's.
    translation::Progress levelProgress(int subFile) const;
    translation::Progress totalProgress() const;
    // The number of the level's texts with an error among their findings.
    int textsWithErrors(int subFile) const;

signals:
    // An original was set or let go.
    void originalChanged();
    // The marks of one text changed, and with them maybe its level's progress and the
    // archive's.
    void marksChanged(int subFile, int text);

private:
    QString path_;
    // Declared after the original, so that it goes first: it refers to the original.
    std::unique_ptr<TLGPFile> original_;
    std::unique_ptr<translation::ArchiveReview> review_;
};
