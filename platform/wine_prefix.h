#pragma once

#include <filesystem>
#include <string_view>

namespace platform {

// The Wine prefix that Windows programs of this user run in: $WINEPREFIX when set, else
// ~/.wine; empty when neither variable is set.
std::filesystem::path WinePrefix();

// The host path of the Windows path `windowsPath` (UTF-8, "C:\Games\FF7\") inside the Wine
// prefix `prefix`: the drive's folder, which the link dosdevices/c: of the prefix names, followed
// by the rest of the path, each part matched without regard to ASCII case as Wine does, and a
// closing separator kept. Empty when the path does not start with a drive letter and a root
// separator or the prefix has no such drive.
std::filesystem::path WineHostPath(const std::filesystem::path& prefix,
                                   std::string_view windowsPath);

}  // namespace platform
