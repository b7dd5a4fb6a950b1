#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/data_folders.h"
#include "spelling/dictionaries.h"
#include "spelling/spell_checker.h"
#include "spelling/text_words.h"
#include "spelling/user_word_list.h"
#include "tests/temporary_path.h"

namespace fs = std::filesystem;

namespace {

// A folder with two tiny dictionaries of the same words: "tiny" in UTF-8, "latin" in
// ISO8859-1 (the word café is written with the byte 0xE9 there).
class SpellingTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(folder_);
        Write("tiny.aff", "SET UTF-8\nTRY esianrtolcdugmphbyfvkwz\n");
        Write("tiny.dic", "5\nhello\nworld\ncaf\xC3\xA9\nthe\nshop\n");
        Write("latin.aff", "SET ISO8859-1\nTRY esianrtolcdugmphbyfvkwz\n");
        Write("latin.dic", "5\nhello\nworld\ncaf\xE9\nthe\nshop\n");
        Write("lonely.dic", "1\nalone\n");
    }
    void TearDown() override { fs::remove_all(folder_); }

    void Write(const std::string& name, const std::string& content) const {
        std::ofstream(folder_ / name, std::ios::binary) << content;
    }
    spelling::Dictionary Find(const std::string& name) const {
        const std::optional<spelling::Dictionary> dictionary =
            spelling::FindDictionary(name, {folder_});
        if (!dictionary) throw std::runtime_error("no dictionary " + name);
        return *dictionary;
    }
    // The misspelled words of tagged text, as text.
    static std::vector<std::string> Misspelled(const std::string& tagged,
                                               const spelling::SpellChecker& checker) {
        std::vector<std::string> words;
        for (const spelling::TextWord& word : spelling::MisspelledWords(tagged, checker)) {
            words.push_back(tagged.substr(word.start, word.length));
        }
        return words;
    }

    const fs::path folder_ = test_support::TemporaryPath("dictionaries");
};

TEST(CheckedWords, SkipTagsPlaceholdersNamesAndDigits) {
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"{CLOUD}, the {RED}shop{WHITE}!", {"the", "shop"}},
        {"{NEW PAGE}\r\nHi-Potion %23Press 2nd", {"Hi", "Potion", "Press"}},
        {"Cloud's and Tifa\x92s friend, Red XIII", {"and", "friend"}},
        {"don't 'quoted' it\x92s caf\xE9 \x9Cuvre", {"don't", "quoted", "it\x92s", "caf\xE9", "\x9Cuvre"}},
        {"{UNKNOWN} {blink}", {"UNKNOWN", "blink"}},
        {"%12abc% {", {"abc"}},
    };
    for (const auto& [tagged, expected] : cases) {
        std::vector<std::string> words;
        for (const spelling::TextWord& word : spelling::CheckedWords(tagged)) {
            words.push_back(tagged.substr(word.start, word.length));
        }
        EXPECT_EQ(words, expected) << tagged;
    }
    EXPECT_EQ(spelling::CheckedWords("ab {CID} cd"),
              (std::vector<spelling::TextWord>{{0, 2}, {9, 2}}));
}

TEST_F(SpellingTest, FindsDictionariesWithBothFiles) {
    const std::vector<spelling::Dictionary> found =
        spelling::FindDictionaries({folder_ / "missing", folder_});
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].name, "latin");
    EXPECT_EQ(found[1].name, "tiny");
    EXPECT_EQ(found[1].aff, folder_ / "tiny.aff");
    EXPECT_FALSE(spelling::FindDictionary("lonely", {folder_}));
    EXPECT_FALSE(spelling::FindDictionary("none", {folder_}));
    ASSERT_TRUE(spelling::FindDictionary((folder_ / "tiny.dic").string(), {}));
    EXPECT_EQ(spelling::FindDictionary((folder_ / "tiny.dic").string(), {})->name, "tiny");
}

TEST_F(SpellingTest, ChecksWindows1252WordsInEitherEncoding) {
    for (const std::string name : {"tiny", "latin"}) {
        const spelling::SpellChecker checker(Find(name));
        EXPECT_TRUE(checker.IsCorrect("hello")) << name;
        EXPECT_TRUE(checker.IsCorrect("Hello")) << name;
        EXPECT_TRUE(checker.IsCorrect("caf\xE9")) << name;
        EXPECT_FALSE(checker.IsCorrect("cafe")) << name;
        EXPECT_FALSE(checker.IsCorrect("\x9C")) << name;  // œ: no ISO8859-1 form
        EXPECT_EQ(Misspelled("{TIFA}: \x93Hello, wrold! The caf\xE8 %3shop.\x94", checker),
                  (std::vector<std::string>{"wrold", "caf\xE8"}))
            << name;
        const std::vector<std::string> suggestions = checker.Suggestions("caf\xE8");
        ASSERT_FALSE(suggestions.empty()) << name;
        EXPECT_EQ(suggestions[0], "caf\xE9") << name;
    }
}

TEST_F(SpellingTest, IgnoredAndAcceptedWords) {
    spelling::SpellChecker checker(Find("tiny"));
    checker.Ignore("wrold");
    checker.Accept("Midgar");
    EXPECT_TRUE(checker.IsCorrect("wrold"));
    EXPECT_FALSE(checker.IsCorrect("Wrold"));
    EXPECT_TRUE(checker.IsCorrect("Midgar"));
    EXPECT_TRUE(checker.IsCorrect("MIDGAR"));
    EXPECT_THROW(spelling::SpellChecker(
                     spelling::Dictionary{"gone", folder_ / "gone.aff", folder_ / "gone.dic"}),
                 std::runtime_error);
}

TEST_F(SpellingTest, UserWordListKeepsWordsAcrossRuns) {
    const spelling::UserWordList list(folder_ / "user" / "words.txt");
    EXPECT_TRUE(list.Words().empty());
    list.Add("Midgar");
    list.Add("S\xE9phiroth");
    EXPECT_EQ(list.Words(), (std::vector<std::string>{"Midgar", "S\xE9phiroth"}));
    std::ifstream in(list.File(), std::ios::binary);
    const std::string content((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(content, "Midgar\nS\xC3\xA9phiroth\n");

    spelling::SpellChecker checker(Find("tiny"));
    list.ApplyTo(checker);
    EXPECT_TRUE(checker.IsCorrect("S\xE9phiroth"));

    // A list that cannot be written reports its file.
    Write("blocker", "");
    const spelling::UserWordList blocked(folder_ / "blocker" / "words.txt");
    EXPECT_THROW(blocked.Add("x"), std::runtime_error);
}

TEST(DataFolders, FollowTheEnvironment) {
    setenv("XDG_DATA_HOME", "/data/home", 1);
    setenv("DICPATH", "/one::/two", 1);
    EXPECT_EQ(platform::UserDataFolder(), fs::path("/data/home/orvenne"));
    const std::vector<fs::path> folders = platform::DictionaryFolders();
    ASSERT_GE(folders.size(), 4u);
    EXPECT_EQ(folders[0], fs::path("/one"));
    EXPECT_EQ(folders[1], fs::path("/two"));
    EXPECT_EQ(folders[2], fs::path("/data/home/hunspell"));
    EXPECT_EQ(folders[3], fs::path("/usr/share/hunspell"));
}

}  // namespace
