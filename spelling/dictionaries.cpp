#include "spelling/dictionaries.h"

#include <algorithm>
#include <system_error>

namespace spelling {

namespace fs = std::filesystem;

namespace {

// The dictionary whose .dic or .aff file is `file`, when both files are there.
std::optional<Dictionary> DictionaryOf(const fs::path& file) {
    Dictionary dictionary{file.stem().string(), file, file};
    dictionary.aff.replace_extension(".aff");
    dictionary.dic.replace_extension(".dic");
    std::error_code error;
    if (!fs::is_regular_file(dictionary.aff, error) || !fs::is_regular_file(dictionary.dic, error)) {
        return std::nullopt;
    }
    return dictionary;
}

}  // namespace

std::vector<Dictionary> FindDictionaries(const std::vector<fs::path>& folders) {
    std::vector<Dictionary> found;
    for (const fs::path& folder : folders) {
        std::error_code error;
        for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
             entry.increment(error)) {
            if (entry->path().extension() != ".dic") continue;
            std::optional<Dictionary> dictionary = DictionaryOf(entry->path());
            const auto sameName = [&](const Dictionary& other) {
                return other.name == dictionary->name;
            };
            if (dictionary && std::none_of(found.begin(), found.end(), sameName)) {
                found.push_back(std::move(*dictionary));
            }
        }
    }
    std::sort(found.begin(), found.end(),
              [](const Dictionary& a, const Dictionary& b) { return a.name < b.name; });
    return found;
}

std::optional<Dictionary> FindDictionary(std::string_view name,
                                         const std::vector<fs::path>& folders) {
    const fs::path path(name);
    if (path.extension() == ".dic" || path.extension() == ".aff") return DictionaryOf(path);
    for (const fs::path& folder : folders) {
        if (std::optional<Dictionary> dictionary = DictionaryOf(folder / (std::string(name) + ".dic"))) {
            return dictionary;
        }
    }
    return std::nullopt;
}

}  // namespace spelling
