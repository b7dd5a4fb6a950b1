#include "platform/steam_library.h"

#include <algorithm>
#include <cstdlib>
#include <system_error>

#include "platform/utf8_path.h"
#include "platform/vdf_node.h"

namespace platform {

namespace {

bool IsNumber(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

std::vector<std::filesystem::path> SteamLibraryFolders(std::string_view libraryFolders,
                                                       std::string_view appId) {
    const std::optional<std::vector<VdfNode>> nodes = ParseVdf(libraryFolders);
    if (!nodes) return {};
    VdfNode file;
    file.children = *nodes;
    const VdfNode* root = file.Find("libraryfolders");
    if (root == nullptr) return {};

    std::vector<std::filesystem::path> folders;
    // Libraries are numbered; the other keys hold statistics.
    for (const VdfNode& library : root->children) {
        if (!IsNumber(library.key)) continue;
        if (!library.isBlock) {
            if (!library.value.empty()) folders.push_back(PathFromUtf8(library.value));
            continue;
        }
        const VdfNode* path = library.Find("path");
        if (path == nullptr || path->isBlock || path->value.empty()) continue;
        const VdfNode* apps = library.Find("apps");
        if (apps != nullptr && apps->Find(appId) == nullptr) continue;
        folders.push_back(PathFromUtf8(path->value));
    }
    return folders;
}

std::optional<std::string> SteamAppInstallFolder(std::string_view manifest) {
    const std::optional<std::vector<VdfNode>> nodes = ParseVdf(manifest);
    if (!nodes) return std::nullopt;
    VdfNode file;
    file.children = *nodes;
    const VdfNode* state = file.Find("AppState");
    const VdfNode* folder = state != nullptr ? state->Find("installdir") : nullptr;
    if (folder == nullptr || folder->isBlock) return std::nullopt;
    // A name that leads out of steamapps/common is no app's folder.
    const std::string& name = folder->value;
    if (name.empty() || name == "." || name == ".." ||
        name.find_first_of("/\\") != std::string::npos) {
        return std::nullopt;
    }
    return name;
}

std::vector<std::filesystem::path> SteamRoots() {
    const char* home = std::getenv("HOME");
    if (home == nullptr || *home == '\0') return {};
    const std::filesystem::path user(home);
    const std::filesystem::path candidates[] = {
        user / ".steam" / "steam",
        user / ".steam" / "root",
        user / ".local" / "share" / "Steam",
        user / ".var" / "app" / "com.valvesoftware.Steam" / ".local" / "share" / "Steam",
        user / "snap" / "steam" / "common" / ".local" / "share" / "Steam",
    };
    // ~/.steam/steam and ~/.steam/root are usually links to ~/.local/share/Steam.
    std::vector<std::filesystem::path> roots;
    for (const std::filesystem::path& candidate : candidates) {
        std::error_code error;
        const std::filesystem::path real = std::filesystem::canonical(candidate, error);
        if (error || !std::filesystem::is_directory(real, error)) continue;
        if (std::find(roots.begin(), roots.end(), real) == roots.end()) roots.push_back(real);
    }
    return roots;
}

}  // namespace platform
