#pragma once

#include <filesystem>
#include <vector>

namespace platform {

// The absolute folder of the running executable, or an empty path when the operating system
// cannot tell it. Read from /proc/self/exe here, from GetModuleFileNameW on Windows.
std::filesystem::path ProgramFolder();

// The folder where an installation puts the shared libraries (corvask), found from the
// program's folder as the installation lays them out (such as "../lib" from "bin"): the
// program's folder itself on Windows. Empty when ProgramFolder() is.
std::filesystem::path InstalledLibraryFolder();

// The folders where the program's data files (the language files) are looked for, in this
// order: the program's folder; the installation's data folder, found from the program's folder
// ("../share/orvenne" from "bin"; left out on Windows, where it is the program's folder); and
// the user's data folder: $XDG_DATA_HOME/orvenne, or ~/.local/share/orvenne when that variable
// is unset or not absolute, and %APPDATA%\Orvenne on Windows. A folder that cannot be told is
// left out; the others need not exist.
std::vector<std::filesystem::path> DataFolders();

}  // namespace platform
