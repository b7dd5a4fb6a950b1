#pragma once

#include <filesystem>

namespace platform {

// Whether `path` names a shell link (a Windows shortcut): its extension is ".lnk" in any case.
bool IsShortcut(const std::filesystem::path& path);

// The file that the shortcut `shortcut` points to; empty when it cannot be read or resolved.
// On Windows the shell resolves it (preferring a network path, as the shell's own
// SLGP_UNCPRIORITY does). Elsewhere the link's recorded local path (LinkFileTarget) is mapped
// into the Wine prefix (WinePrefix, WineHostPath) when it lies on one of its drives, and
// returned as written otherwise.
std::filesystem::path ShortcutTarget(const std::filesystem::path& shortcut);

}  // namespace platform
