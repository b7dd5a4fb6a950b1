#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace spelling {

class SpellChecker;

// A word of tagged text: its first byte and its length.
struct TextWord {
    std::size_t start = 0;
    std::size_t length = 0;

    bool operator==(const TextWord&) const = default;
};

// The words of tagged text (Windows-1252) that spell checking looks at: runs of letters, with
// apostrophes (' and ’) between letters, split at anything else. Left out: tags, placeholders
// (%1 to %50), runs that touch a digit, and the characters' names (Cloud, Barret, Tifa,
// Aeris, Red, XIII, Yuffie, Cait, Sith, Vincent, Cid, also with 's).
std::vector<TextWord> CheckedWords(std::string_view tagged);

// The checked words of tagged text that the checker does not know.
std::vector<TextWord> MisspelledWords(std::string_view tagged, const SpellChecker& checker);

}  // namespace spelling
