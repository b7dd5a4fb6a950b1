#pragma once

#include <filesystem>

namespace platform {

// The game's data folder, whose "field" subfolder holds the archive that the editor opens. On
// Windows, as its installer recorded it in the string value "DataPath" of
// HKEY_LOCAL_MACHINE\SOFTWARE\Square Soft, Inc.\Final Fantasy VII (the 32-bit view); empty when
// absent. Elsewhere, the first existing folder of: the one that the registry of the Wine prefix
// (WinePrefix) records, and the one found in each Steam installation (SteamRoots,
// GameDataFolderInSteam); empty when there is none.
std::filesystem::path GameDataFolder();

// The game's data folder as the registry file system.reg of the Wine prefix `prefix` records
// it (in a 64-bit prefix, first below Software\Wow6432Node), mapped to its host folder through
// the prefix's drives (WineHostPath). Empty when absent or on a drive the prefix lacks.
std::filesystem::path GameDataFolderInWinePrefix(const std::filesystem::path& prefix);

// The game's data folder found through the Steam installation at `steamRoot`: in each of its
// library folders that may hold the game, app 39140 (the installation's own folder first, then
// those that steamapps/libraryfolders.vdf lists), the game's install folder (steamapps/common/
// and the "installdir" of steamapps/appmanifest_39140.acf) followed by "data"; failing that,
// the folder that the registry of the game's Proton prefix (steamapps/compatdata/39140/pfx)
// records. Only existing folders count; empty when there is none.
std::filesystem::path GameDataFolderInSteam(const std::filesystem::path& steamRoot);

}  // namespace platform
