#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "lgp/lgp_file.h"
#include "lgp/message.h"
#include "translation/findings.h"

namespace translation {

// Where a text of an archive stands against its original.
enum class TextState : std::uint8_t {
    // Its bytes differ from the original's.
    Translated,
    // Its bytes equal the original's.
    Untranslated,
    // The original lacks its level (or could not read it) or has fewer texts in it.
    NotInOriginal,
};

// Translated texts out of all texts. A text not in the original counts as translated: it is
// not the original's.
struct Progress {
    std::size_t translated = 0;
    std::size_t texts = 0;

    bool operator==(const Progress&) const = default;
};

// A text of an archive: the table index of its file and its index in that level's Texts.
struct TextPlace {
    std::size_t subFile = 0;
    std::size_t text = 0;

    bool operator==(const TextPlace&) const = default;
};

// An archive reviewed against the archive it was translated from: per text its state and the
// findings of CheckTranslation, per level and for the whole archive how much is translated.
// A level is matched with the original's first level of the same name, a text by its number.
// Every level is reviewed when the review is made; after that only what the caller says
// changed: one text (a keystroke) with updateText, one level with updateLevel. Levels are
// addressed by table index of the reviewed archive; files that are not levels have no texts.
// Both archives must outlive the review, their tables of contents and scripts unchanged; the
// original's texts must not change.
class ArchiveReview {
public:
    ArchiveReview(const TLGPFile& archive, const TLGPFile& original);

    // The original's level matched with file subFile; null for a file that is not a level or
    // whose level the original lacks.
    const TLGPSubFile* originalLevel(std::size_t subFile) const;
    // The original's bytes of the text; null when the text is not in the original.
    const std::vector<std::uint8_t>* originalText(std::size_t subFile, std::size_t text) const;

    // The text's state as last reviewed; NotInOriginal for a place out of range.
    TextState state(std::size_t subFile, std::size_t text) const;
    // The text's findings as last reviewed; none for a place out of range.
    const std::vector<Finding>& findings(std::size_t subFile, std::size_t text) const;
    // The level's progress ({0, 0} for a file that is not a level), and the archive's.
    Progress levelProgress(std::size_t subFile) const;
    Progress totalProgress() const { return total_; }
    // The number of the level's texts with findings, and of those with an error.
    std::size_t textsWithFindings(std::size_t subFile) const;
    std::size_t textsWithErrors(std::size_t subFile) const;

    // Reviews the text again after its bytes changed. Returns true when its state or its
    // findings changed, false also for a place out of range.
    bool updateText(std::size_t subFile, std::size_t text);
    // Reviews every text of the level again: after many of its texts changed at once.
    void updateLevel(std::size_t subFile);

private:
    struct TextReview {
        TextState state = TextState::NotInOriginal;
        std::vector<Finding> findings;
    };
    struct LevelReview {
        const TLGPSubFile* original = nullptr;
        // The ASK opcode that shows each text of the reviewed level, or null.
        std::vector<const TMessage*> questions;
        std::vector<TextReview> texts;
        Progress progress;
        std::size_t withFindings = 0;
        std::size_t withErrors = 0;
    };

    // The text's review as its bytes now stand.
    TextReview reviewOf(const LevelReview& level, std::size_t subFile, std::size_t text) const;
    // Adds the review to the level's and the archive's counts (sign 1) or takes it out (-1).
    void count(LevelReview& level, const TextReview& review, int sign);

    const TLGPFile& archive_;
    std::vector<LevelReview> levels_;
    Progress total_;
};

}  // namespace translation
