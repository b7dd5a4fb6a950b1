#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

class TLGPSubFile;

namespace lgp {

// Entries in each of the level tables.
inline constexpr int kLevelCount = 702;

// The field file names that count as levels, in table order. The other tables are
// index-parallel to it: entry i of each belongs to the level named LevelNames()[i].
std::span<const std::string_view> LevelNames();
// The built-in English description of each level: the defaults of the run-time descriptions.
std::span<const std::string_view> EnglishDescriptions();

// Index of the level-name table entry equal to name (exact, case-sensitive), or -1.
int LevelIndex(std::string_view name);
// True when name equals an entry of the level-name table (exact, case-sensitive).
bool IsLevel(std::string_view name);
// True when the sub-file's Name is a level name; only such sub-files are parsed and rebuilt.
bool IsLevel(const TLGPSubFile& subFile);

// One description per level, starting as the English ones, that the language loader refills.
// Not synchronised: jobs read it on worker threads, but the language loader only refills it
// while no job runs, so reads and writes never overlap.
class LevelDescriptions {
public:
    // Every entry set to its English description.
    LevelDescriptions();

    // The description at a table index; throws std::out_of_range for a bad index.
    const std::string& Get(int index) const;
    // The description of the named level; empty when name is not a level.
    std::string_view Get(std::string_view name) const;
    // Replaces the description at a table index; throws std::out_of_range for a bad index.
    void Set(int index, std::string description);
    // Sets every entry back to its English description.
    void ResetToEnglish();

private:
    std::array<std::string, kLevelCount> descriptions_;
};

// The program's run-time descriptions: those that the open job assigns to sub-files.
LevelDescriptions& RuntimeLevelDescriptions();

}  // namespace lgp
