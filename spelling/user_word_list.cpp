#include "spelling/user_word_list.h"

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <system_error>

#include "platform/data_folders.h"
#include "spelling/spell_checker.h"
#include "text/windows1252.h"

namespace spelling {

UserWordList::UserWordList() : UserWordList(platform::UserDataFolder() / "user_words.txt") {}

UserWordList::UserWordList(std::filesystem::path file) : file_(std::move(file)) {}

std::vector<std::string> UserWordList::Words() const {
    std::vector<std::string> words;
    std::error_code error;
    if (!std::filesystem::exists(file_, error)) return words;
    std::ifstream in(file_, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read the word list " + file_.string());
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        text::Windows1252Text word = text::Utf8ToWindows1252(line);
        if (word.replaced == 0) words.push_back(std::move(word.text));
    }
    if (in.bad()) throw std::runtime_error("cannot read the word list " + file_.string());
    return words;
}

void UserWordList::ApplyTo(SpellChecker& checker) const {
    for (const std::string& word : Words()) checker.Accept(word);
}

void UserWordList::Add(std::string_view word) const {
    std::error_code error;
    std::filesystem::create_directories(file_.parent_path(), error);
    std::ofstream out(file_, std::ios::binary | std::ios::app);
    out << text::Windows1252ToUtf8(word) << '\n';
    out.close();
    if (!out) throw std::runtime_error("cannot write the word list " + file_.string());
}

}  // namespace spelling
