#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace spelling {

// A Hunspell dictionary on disk: NAME.aff beside NAME.dic.
struct Dictionary {
    std::string name;
    std::filesystem::path aff;
    std::filesystem::path dic;
};

// The dictionaries in the folders, by name (such as "en_US"); where two folders hold the same
// name the first folder's is taken. Folders that do not exist or cannot be read are passed over.
std::vector<Dictionary> FindDictionaries(const std::vector<std::filesystem::path>& folders);

// The dictionary named `name` in the folders, or, when `name` is a path to a .dic or .aff file
// with its partner beside it, that one; nothing when there is none.
std::optional<Dictionary> FindDictionary(std::string_view name,
                                         const std::vector<std::filesystem::path>& folders);

}  // namespace spelling
