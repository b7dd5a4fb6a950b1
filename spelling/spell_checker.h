#pragma once

#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "spelling/dictionaries.h"

class Hunspell;

namespace spelling {

// Checks single words of tagged text (Windows-1252) with a Hunspell dictionary, whatever the
// dictionary's own encoding (UTF-8, ISO8859-1 or ISO8859-15). Not thread-safe.
class SpellChecker {
public:
    // Loads the dictionary. Throws std::runtime_error naming the file when a file is missing
    // or when the dictionary is in an encoding other than those above.
    explicit SpellChecker(const Dictionary& dictionary);
    ~SpellChecker();
    SpellChecker(const SpellChecker&) = delete;
    SpellChecker& operator=(const SpellChecker&) = delete;

    const std::string& Name() const { return name_; }

    // True when the dictionary knows the word or it was ignored or accepted; false for a word
    // with letters the dictionary's encoding cannot hold.
    bool IsCorrect(std::string_view word) const;

    // The dictionary's suggestions for a word, best first, those Windows-1252 cannot hold left
    // out.
    std::vector<std::string> Suggestions(std::string_view word) const;

    // Takes the word as correct until this checker is destroyed ("Ignore").
    void Ignore(std::string_view word);
    // Takes the word, and its capitalised forms, as a word of the dictionary until this checker
    // is destroyed (for the user's own word list).
    void Accept(std::string_view word);

private:
    std::string name_;
    std::unique_ptr<Hunspell> hunspell_;
    // Converts between Windows-1252 and the dictionary's encoding.
    bool utf8_ = false;
    bool latin9_ = false;
    std::set<std::string, std::less<>> ignored_;

    // The word in the dictionary's encoding; empty when that cannot hold it.
    std::string ToDictionary(std::string_view word) const;
    // A dictionary word in Windows-1252; empty when Windows-1252 cannot hold it.
    std::string FromDictionary(std::string_view word) const;
};

}  // namespace spelling
