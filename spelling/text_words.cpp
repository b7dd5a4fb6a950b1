#include "spelling/text_words.h"

#include <algorithm>
#include <array>
#include <string>

#include "spelling/spell_checker.h"
#include "text/tags.h"
#include "text/text_encoder.h"

namespace spelling {

namespace {

constexpr char kApostrophe = '\'';
constexpr char kRightQuotationMark = '\x92';  // ’, the typographic apostrophe

// The names of the game's characters, as the name tags stand for them and texts write them.
constexpr std::array<std::string_view, 11> kCharacterNames = {
    "Cloud", "Barret", "Tifa", "Aeris", "Red", "XIII", "Yuffie", "Cait", "Sith", "Vincent", "Cid",
};

// Windows-1252 letters: ASCII, the accented letters from 0xC0 (but × and ÷), and Š Œ Ž š œ ž Ÿ.
constexpr std::array<bool, 256> kLetters = [] {
    std::array<bool, 256> letters{};
    for (int c = 'A'; c <= 'Z'; ++c) letters[c] = letters[c + 32] = true;
    for (int c = 0xC0; c <= 0xFF; ++c) letters[c] = c != 0xD7 && c != 0xF7;
    for (const int c : {0x8A, 0x8C, 0x8E, 0x9A, 0x9C, 0x9E, 0x9F}) letters[c] = true;
    return letters;
}();

bool IsLetter(char c) { return kLetters[static_cast<unsigned char>(c)]; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsApostrophe(char c) { return c == kApostrophe || c == kRightQuotationMark; }

// The length of the tag at `at`, or 0 when no tag starts there.
std::size_t TagLength(std::string_view tagged, std::size_t at) {
    const std::string_view rest = tagged.substr(at);
    for (const text::TagCode& entry : text::TagCodes) {
        if (entry.tag.front() == '{' && rest.starts_with(entry.tag)) return entry.tag.size();
    }
    return rest.starts_with(text::NewPageTag) ? text::NewPageTag.size() : 0;
}

bool IsCharacterName(std::string_view word) {
    for (const std::string_view suffix : {"'s", "\x92s"}) {
        if (word.ends_with(suffix)) word.remove_suffix(suffix.size());
    }
    return std::find(kCharacterNames.begin(), kCharacterNames.end(), word) != kCharacterNames.end();
}

}  // namespace

std::vector<TextWord> CheckedWords(std::string_view tagged) {
    std::vector<TextWord> words;
    std::size_t i = 0;
    while (i < tagged.size()) {
        const char c = tagged[i];
        if (c == '{') {
            i += std::max<std::size_t>(1, TagLength(tagged, i));
        } else if (c == text::PlaceholderChar) {
            i += 1 + text::LeadingDigits(tagged.substr(i + 1)).size();
        } else if (IsLetter(c) || IsDigit(c)) {
            // A run of letters and digits, apostrophes only between two of them.
            const std::size_t start = i;
            bool digits = false;
            while (i < tagged.size()) {
                if (IsLetter(tagged[i]) || IsDigit(tagged[i])) {
                    digits = digits || IsDigit(tagged[i]);
                    ++i;
                } else if (IsApostrophe(tagged[i]) && i + 1 < tagged.size() &&
                           IsLetter(tagged[i + 1])) {
                    ++i;
                } else {
                    break;
                }
            }
            const TextWord word{start, i - start};
            if (!digits && !IsCharacterName(tagged.substr(start, i - start))) words.push_back(word);
        } else {
            ++i;
        }
    }
    return words;
}

std::vector<TextWord> MisspelledWords(std::string_view tagged, const SpellChecker& checker) {
    std::vector<TextWord> misspelled;
    for (const TextWord& word : CheckedWords(tagged)) {
        if (!checker.IsCorrect(tagged.substr(word.start, word.length))) misspelled.push_back(word);
    }
    return misspelled;
}

}  // namespace spelling
