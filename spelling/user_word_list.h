#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace spelling {

class SpellChecker;

// The user's own words, taken as correct in every dictionary ("Add to dictionary"): a UTF-8
// file of one word per line, kept in the user's data folder.
class UserWordList {
public:
    // The list in platform::UserDataFolder(), "user_words.txt"; or in `file`.
    UserWordList();
    explicit UserWordList(std::filesystem::path file);

    const std::filesystem::path& File() const { return file_; }

    // The words of the file in Windows-1252, in file order; none when the file does not exist.
    // Lines that Windows-1252 cannot hold are passed over. Throws std::runtime_error naming
    // the file when it exists but cannot be read.
    std::vector<std::string> Words() const;

    // Has the checker accept every word of the list. Throws as Words does.
    void ApplyTo(SpellChecker& checker) const;

    // Appends a Windows-1252 word to the file, creating the file and its folder when needed.
    // Throws std::runtime_error naming the file when it cannot be written; the file then keeps
    // its earlier words.
    void Add(std::string_view word) const;

private:
    std::filesystem::path file_;
};

}  // namespace spelling
