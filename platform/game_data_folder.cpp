#include "platform/game_data_folder.h"

#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#ifdef _WIN32
#include <windows.h>

#include <cwchar>
#endif

#include "platform/steam_library.h"
#include "platform/utf8_path.h"
#include "platform/wine_prefix.h"
#include "platform/wine_registry.h"

namespace platform {

namespace {

// The game's number in the Steam store.
constexpr std::string_view kSteamAppId = "39140";

// The whole text of a file, or nothing when it cannot be read.
std::optional<std::string> ReadText(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::nullopt;
    std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (file.bad()) return std::nullopt;
    return text;
}

bool IsFolder(const std::filesystem::path& path) {
    std::error_code error;
    return !path.empty() && std::filesystem::is_directory(path, error);
}

}  // namespace

std::filesystem::path GameDataFolderInWinePrefix(const std::filesystem::path& prefix) {
    if (prefix.empty()) return {};
    const std::optional<std::string> text = ReadText(prefix / "system.reg");
    if (!text) return {};
    // A 64-bit prefix keeps the keys of 32-bit programs, the game's installer among them, apart.
    std::optional<std::string> dataPath = WineRegistryString(
        *text, "Software\\Wow6432Node\\Square Soft, Inc.\\Final Fantasy VII", "DataPath");
    if (!dataPath) {
        dataPath =
            WineRegistryString(*text, "Software\\Square Soft, Inc.\\Final Fantasy VII", "DataPath");
    }
    if (!dataPath) return {};
    return WineHostPath(prefix, *dataPath);
}

std::filesystem::path GameDataFolderInSteam(const std::filesystem::path& steamRoot) {
    std::vector<std::filesystem::path> libraries = {steamRoot};
    if (const auto text = ReadText(steamRoot / "steamapps" / "libraryfolders.vdf")) {
        for (std::filesystem::path& library : SteamLibraryFolders(*text, kSteamAppId)) {
            libraries.push_back(std::move(library));
        }
    }
    const std::string manifest = "appmanifest_" + std::string(kSteamAppId) + ".acf";
    for (const std::filesystem::path& library : libraries) {
        const auto text = ReadText(library / "steamapps" / manifest);
        const std::optional<std::string> folder =
            text ? SteamAppInstallFolder(*text) : std::nullopt;
        if (!folder) continue;
        const std::filesystem::path data =
            library / "steamapps" / "common" / PathFromUtf8(*folder) / "data";
        if (IsFolder(data)) return data;
    }
    for (const std::filesystem::path& library : libraries) {
        const std::filesystem::path data = GameDataFolderInWinePrefix(
            library / "steamapps" / "compatdata" / std::string(kSteamAppId) / "pfx");
        if (IsFolder(data)) return data;
    }
    return {};
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

std::filesystem::path GameDataFolder() {
    if (std::filesystem::path data = GameDataFolderInWinePrefix(WinePrefix()); IsFolder(data)) {
        return data;
    }
    for (const std::filesystem::path& root : SteamRoots()) {
        if (std::filesystem::path data = GameDataFolderInSteam(root); !data.empty()) return data;
    }
    return {};
}

#endif

}  // namespace platform
