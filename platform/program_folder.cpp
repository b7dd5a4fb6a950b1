#include "platform/program_folder.h"

#include <cstdlib>
#include <string>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

#include "platform/install_layout.h"

namespace platform {

namespace {

// `folder` followed by the relative path `fromPrograms`, or nothing when `folder` is empty.
std::filesystem::path Below(const std::filesystem::path& folder, std::string_view fromPrograms) {
    if (folder.empty() || fromPrograms.empty()) return folder;
    return (folder / std::filesystem::path(fromPrograms)).lexically_normal();
}

}  // namespace

#ifdef _WIN32

std::filesystem::path ProgramFolder() {
    // GetModuleFileNameW truncates silently when the buffer is too small, filling it
    // completely; grow until the name fits with room to spare.
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length == 0) return {};
        if (length < name.size()) {
            name.resize(length);
            return std::filesystem::path(name).parent_path();
        }
        if (name.size() >= 32768) return {};  // longer than any Windows path can be
        name.resize(name.size() * 2);
    }
}

namespace {

// The user's own folder for the program's data, or empty.
std::filesystem::path UserDataFolder() {
    const wchar_t* appData = _wgetenv(L"APPDATA");
    if (appData == nullptr || *appData == L'\0') return {};
    return std::filesystem::path(appData) / "Orvenne";
}

}  // namespace

#else

std::filesystem::path ProgramFolder() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return {};
    return program.parent_path();
}

namespace {

// The user's own folder for the program's data, or empty.
std::filesystem::path UserDataFolder() {
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome != nullptr && std::filesystem::path(dataHome).is_absolute()) {
        return std::filesystem::path(dataHome) / "orvenne";
    }
    const char* home = std::getenv("HOME");
    if (home == nullptr || *home == '\0') return {};
    return std::filesystem::path(home) / ".local" / "share" / "orvenne";
}

}  // namespace

#endif

std::filesystem::path InstalledLibraryFolder() {
    return Below(ProgramFolder(), kLibraryFolderFromPrograms);
}

std::vector<std::filesystem::path> DataFolders() {
    std::vector<std::filesystem::path> folders;
    const std::filesystem::path program = ProgramFolder();
    if (!program.empty()) folders.push_back(program);
    if (!program.empty() && !kDataFolderFromPrograms.empty()) {
        folders.push_back(Below(program, kDataFolderFromPrograms));
    }
    if (std::filesystem::path user = UserDataFolder(); !user.empty()) {
        folders.push_back(std::move(user));
    }
    return folders;
}

}  // namespace platform
