#pragma once

#include <filesystem>

namespace platform {

// The game's data folder, as its installer recorded it in the string value "DataPath" of
// HKEY_LOCAL_MACHINE\SOFTWARE\Square Soft, Inc.\Final Fantasy VII (the 32-bit view). Read from
// the registry on Windows and from the Wine prefix (WinePrefix) elsewhere. Empty when absent;
// the folder's "field" subfolder holds the archive that the editor opens.
std::filesystem::path GameDataFolder();

// The game's data folder as the registry file system.reg of the Wine prefix `prefix` records
// it (in a 64-bit prefix, first below Software\Wow6432Node), mapped to its host folder through
// the prefix's drives (WineHostPath). Empty when absent or on a drive the prefix lacks.
std::filesystem::path GameDataFolderInWinePrefix(const std::filesystem::path& prefix);

}  // namespace platform
