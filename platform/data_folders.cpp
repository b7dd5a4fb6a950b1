#include "platform/data_folders.h"

#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/program_folder.h"

namespace platform {

#ifdef _WIN32

std::filesystem::path UserDataFolder() {
    const wchar_t* appData = _wgetenv(L"APPDATA");
    if (appData == nullptr || *appData == L'\0') return {};
    return std::filesystem::path(appData) / "Orvenne";
}

std::vector<std::filesystem::path> DictionaryFolders() {
    std::vector<std::filesystem::path> folders;
    if (const std::filesystem::path program = ProgramFolder(); !program.empty()) {
        folders.push_back(program / "dictionaries");
    }
    if (const std::filesystem::path user = UserDataFolder(); !user.empty()) {
        folders.push_back(user / "dictionaries");
    }
    return folders;
}

#else

namespace {

// The value of an environment variable, empty when it is unset.
std::string_view Environment(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string_view() : std::string_view(value);
}

// $XDG_DATA_HOME, or ~/.local/share when it is unset; empty when neither is known.
std::filesystem::path DataHome() {
    if (const std::string_view data = Environment("XDG_DATA_HOME"); !data.empty()) {
        return std::filesystem::path(data);
    }
    if (const std::string_view home = Environment("HOME"); !home.empty()) {
        return std::filesystem::path(home) / ".local" / "share";
    }
    return {};
}

}  // namespace

std::filesystem::path UserDataFolder() {
    const std::filesystem::path data = DataHome();
    return data.empty() ? data : data / "orvenne";
}

std::vector<std::filesystem::path> DictionaryFolders() {
    std::vector<std::filesystem::path> folders;
    std::string_view paths = Environment("DICPATH");
    while (!paths.empty()) {
        const std::size_t colon = paths.find(':');
        const std::string_view folder = paths.substr(0, colon);
        if (!folder.empty()) folders.emplace_back(folder);
        paths = colon == std::string_view::npos ? std::string_view() : paths.substr(colon + 1);
    }
    if (const std::filesystem::path data = DataHome(); !data.empty()) {
        folders.push_back(data / "hunspell");
    }
    for (const char* folder : {"/usr/share/hunspell", "/usr/local/share/hunspell",
                               "/usr/share/myspell", "/usr/share/myspell/dicts"}) {
        folders.emplace_back(folder);
    }
    return folders;
}

#endif

}  // namespace platform
