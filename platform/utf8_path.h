#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace platform {

// The path that the UTF-8 text `text` names. The program keeps file names in std::string as
// UTF-8 on every system, while std::filesystem reads a char string in the system's narrow
// encoding, which on Windows is not UTF-8.
std::filesystem::path PathFromUtf8(std::string_view text);

// `path` as UTF-8 text: the way back of PathFromUtf8.
std::string Utf8FromPath(const std::filesystem::path& path);

}  // namespace platform
