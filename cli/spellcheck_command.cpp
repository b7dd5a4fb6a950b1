#include <algorithm>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/exchange_levels.h"
#include "cli/archive_access.h"
#include "platform/data_folders.h"
#include "platform/utf8_path.h"
#include "spelling/dictionaries.h"
#include "spelling/spell_checker.h"
#include "spelling/text_words.h"
#include "spelling/user_word_list.h"
#include "text/text_decoder.h"
#include "text/windows1252.h"

namespace cli {

namespace {

struct UnknownWord {
    int count = 0;
    // Where it first occurs: the level's name and the text's number from 1.
    std::string level;
    std::size_t text = 0;
};

std::string FolderList(const std::vector<std::filesystem::path>& folders) {
    std::string list;
    for (const std::filesystem::path& folder : folders) {
        list += (list.empty() ? "" : ", ") + platform::Utf8FromPath(folder);
    }
    return list;
}

int RunSpellcheck(const std::vector<std::string>& args) {
    std::vector<std::string> rest = args;
    const std::optional<std::string> name = TakeOption(rest, "--dictionary");
    const Arguments parsed = ParseArguments(rest, {"--skip-damaged"}, 1);
    if (!name) throw UsageError("--dictionary NAME is needed");
    const std::vector<std::filesystem::path> folders = platform::DictionaryFolders();
    const std::optional<spelling::Dictionary> dictionary = spelling::FindDictionary(*name, folders);
    if (!dictionary) {
        throw std::runtime_error("no dictionary " + *name + " (NAME.aff and NAME.dic) in " +
                                 FolderList(folders));
    }
    spelling::SpellChecker checker(*dictionary);
    spelling::UserWordList().ApplyTo(checker);

    TLGPFile archive;
    ReadArchive(archive, parsed.positional[0], parsed.Has("--skip-damaged"));
    std::map<std::string, UnknownWord> unknown;
    for (const int index : ExchangeLevels(archive)) {
        const TLGPSubFile& level = archive.SubFile(index);
        for (std::size_t t = 0; t < level.Texts.size(); ++t) {
            const std::string tagged = text::DecodeText(level.Texts[t].Bytes);
            for (const spelling::TextWord& word : spelling::MisspelledWords(tagged, checker)) {
                UnknownWord& found = unknown[tagged.substr(word.start, word.length)];
                if (found.count++ == 0) {
                    found.level = level.Name;
                    found.text = t + 1;
                }
            }
        }
    }
    std::vector<std::pair<std::string, UnknownWord>> sorted(unknown.begin(), unknown.end());
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const auto& a, const auto& b) { return a.second.count > b.second.count; });
    for (const auto& [word, found] : sorted) {
        std::cout << text::Windows1252ToUtf8(word) << '\t' << found.count << '\t' << found.level
                  << '\t' << found.text << '\n';
    }
    return 0;
}

}  // namespace

const Command kSpellcheckCommand{
    "spellcheck",
    "spellcheck ARCHIVE --dictionary NAME [--skip-damaged]",
    "Spell-checks the texts of ARCHIVE's levels with the Hunspell dictionary NAME (such as\n"
    "en_US, found in the system's dictionary folders, or a path to a .dic file) and the\n"
    "user's own word list, leaving out tags, placeholders and the characters' names. Prints\n"
    "each unknown word with its count and the first place it occurs (level, and text from 1\n"
    "as the editor's texts list shows it), tab-separated, the most frequent first: the start\n"
    "of a glossary. --skip-damaged opens an archive with levels that cannot be read: each is\n"
    "named on standard error with the reason, and its texts are not checked.",
    RunSpellcheck,
};

}  // namespace cli
