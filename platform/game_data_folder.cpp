#include "platform/game_data_folder.h"

#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#ifdef _WIN32
#include <windows.h>

#include <cwchar>
#endif

#include "platform/wine_prefix.h"
#include "platform/wine_registry.h"

namespace platform {

std::filesystem::path GameDataFolderInWinePrefix(const std::filesystem::path& prefix) {
    if (prefix.empty()) return {};
    std::ifstream file(prefix / "system.reg", std::ios::binary);
    if (!file) return {};
    const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    // A 64-bit prefix keeps the keys of 32-bit programs, the game's installer among them, apart.
    std::optional<std::string> dataPath = WineRegistryString(
        text, "Software\\Wow6432Node\\Square Soft, Inc.\\Final Fantasy VII", "DataPath");
    if (!dataPath) {
        dataPath =
            WineRegistryString(text, "Software\\Square Soft, Inc.\\Final Fantasy VII", "DataPath");
    }
    if (!dataPath) return {};
    return WineHostPath(prefix, *dataPath);
}

#ifdef _WIN32

std::filesystem::path GameDataFolder() {
    // The game is a 32-bit program: on 64-bit Windows its key lives in the 32-bit view.
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Square Soft, Inc.\\Final Fantasy VII", 0,
                      KEY_QUERY_VALUE | KEY_WOW64_32KEY, &key) != ERROR_SUCCESS) {
        return {};
    }
    // The value may grow between asking for its size and reading it: ask again then.
    std::wstring value;
    LSTATUS status = ERROR_MORE_DATA;
    while (status == ERROR_MORE_DATA) {
        DWORD bytes = 0;
        status = RegGetValueW(key, nullptr, L"DataPath", RRF_RT_REG_SZ, nullptr, nullptr, &bytes);
        if (status != ERROR_SUCCESS) break;
        value.assign(bytes / sizeof(wchar_t) + 1, L'\0');
        bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
        status =
            RegGetValueW(key, nullptr, L"DataPath", RRF_RT_REG_SZ, nullptr, value.data(), &bytes);
        if (status == ERROR_SUCCESS) value.resize(wcsnlen(value.c_str(), value.size()));
    }
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) return {};
    return value;
}

#else

std::filesystem::path GameDataFolder() { return GameDataFolderInWinePrefix(WinePrefix()); }

#endif

}  // namespace platform
