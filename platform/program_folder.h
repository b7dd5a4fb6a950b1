#pragma once

#include <filesystem>

namespace platform {

// The absolute folder of the running executable, or an empty path when the operating system
// cannot tell it. Read from /proc/self/exe here, from GetModuleFileNameW on Windows.
std::filesystem::path ProgramFolder();

}  // namespace platform
