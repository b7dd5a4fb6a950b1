#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "lgp/entity.h"
#include "lgp/level_text.h"

// One file stored in an archive: where its data lies in the opened archive and where the
// writer puts it in the archive being written; for a level, also its texts and scripts.
class TLGPSubFile {
public:
    TLGPSubFile() = default;
    // Texts point at windows of this object's own scripts: a copy would share them.
    TLGPSubFile(const TLGPSubFile&) = delete;
    TLGPSubFile& operator=(const TLGPSubFile&) = delete;
    TLGPSubFile(TLGPSubFile&&) = default;
    TLGPSubFile& operator=(TLGPSubFile&&) = default;

    // Number of stored data bytes after the sub-file's 24-byte data header.
    std::int32_t Length = 0;
    // Size written for this sub-file by the last archive write; Length after opening.
    std::int32_t NewLength = 0;
    // Table-of-contents name without trailing blanks and zero bytes.
    std::string Name;
    std::string Description;
    // Position of the sub-file's data header in the opened archive.
    std::int32_t Offset = 0;
    // Position of the data header in the archive last written; Offset after opening.
    std::int32_t NewOffset = 0;

    // Levels only, filled when the level is parsed. The current texts, edited in place.
    std::vector<TLevelText> Texts;
    // One per text: set by a comparison for the texts that differ.
    std::vector<std::uint8_t> CompareMarks;
    // The texts as loaded or as last saved over the opened archive.
    std::vector<std::vector<std::uint8_t>> SavedTexts;
    std::vector<TEntity> Entities;
    // Why this level must not be rebuilt; empty for a sound level. Set when its text table
    // claims texts it does not hold (the texts read are kept), or, with Unreadable, when its
    // field file could not be parsed. Saving copies such a level's stored bytes unchanged and
    // refuses to write a change to it.
    std::string Damage;
    // Set for a level whose field file could not be parsed, kept by opening an archive in the
    // mode that keeps damaged levels: Texts, SavedTexts, CompareMarks and Entities are empty.
    bool Unreadable = false;

    // The compare mark of a text; throws std::out_of_range for a bad index.
    std::uint8_t CompareMark(std::size_t text) const { return CompareMarks.at(text); }
};
