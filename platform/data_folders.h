#pragma once

#include <filesystem>
#include <vector>

namespace platform {

// The folder of the user's own data for this program (not created here): on Windows
// %APPDATA%\Orvenne, elsewhere $XDG_DATA_HOME/orvenne or ~/.local/share/orvenne. Empty when
// the environment names no such place.
std::filesystem::path UserDataFolder();

// The folders that may hold Hunspell dictionaries (NAME.aff beside NAME.dic), in the order to
// search them; some may not exist. On Windows the "dictionaries" folder beside the program and
// the user's data folder; elsewhere each folder of $DICPATH, $XDG_DATA_HOME/hunspell (or
// ~/.local/share/hunspell), then /usr/share/hunspell, /usr/local/share/hunspell,
// /usr/share/myspell and /usr/share/myspell/dicts.
std::vector<std::filesystem::path> DictionaryFolders();

}  // namespace platform
