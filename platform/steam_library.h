#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The library folders that Steam's steamapps/libraryfolders.vdf (its text) lists and that may
// hold the app `appId`: those that list it among their apps, and every one in the older format,
// which lists no apps. In the file's order; empty when the text is malformed.
std::vector<std::filesystem::path> SteamLibraryFolders(std::string_view libraryFolders,
                                                       std::string_view appId);

// The name of an app's folder below steamapps/common: the "installdir" of its app manifest
// (steamapps/appmanifest_ID.acf, its text). Nothing when the manifest is malformed or lacks
// the value, or the value is not a plain folder name.
std::optional<std::string> SteamAppInstallFolder(std::string_view manifest);

// The folders where this user's Steam may be installed: ~/.steam/steam, ~/.steam/root,
// ~/.local/share/Steam, and those of Steam's Flatpak and Snap packages; each existing folder
// once (links followed), in that order. Empty when HOME is unset.
std::vector<std::filesystem::path> SteamRoots();

}  // namespace platform
