#include "platform/wine_prefix.h"

#include <cstddef>
#include <cstdlib>
#include <optional>
#include <string>
#include <system_error>

#include "platform/utf8_path.h"

namespace platform {

namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool EqualIgnoringAsciiCase(std::u8string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(static_cast<char>(a[i])) != LowerAscii(b[i])) return false;
    }
    return true;
}

// The entry of `folder` called `name`, or one whose name differs from it only in ASCII case
// (the files of a prefix keep the case their installer gave them, while Windows programs and
// registry values may spell them otherwise).
std::optional<std::filesystem::path> FindEntry(const std::filesystem::path& folder,
                                               std::string_view name) {
    std::error_code error;
    if (std::filesystem::exists(folder / PathFromUtf8(name), error)) return PathFromUtf8(name);
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        std::filesystem::path entryName = entry->path().filename();
        if (EqualIgnoringAsciiCase(entryName.u8string(), name)) return entryName;
    }
    return std::nullopt;
}

}  // namespace

std::filesystem::path WinePrefix() {
    const char* prefix = std::getenv("WINEPREFIX");
    if (prefix != nullptr && *prefix != '\0') return prefix;
    const char* home = std::getenv("HOME");
    if (home != nullptr && *home != '\0') return std::filesystem::path(home) / ".wine";
    return {};
}

std::filesystem::path WineHostPath(const std::filesystem::path& prefix,
                                   std::string_view windowsPath) {
    const bool hasDrive = windowsPath.size() >= 3 && windowsPath[1] == ':' &&
                          IsSeparator(windowsPath[2]) && LowerAscii(windowsPath[0]) >= 'a' &&
                          LowerAscii(windowsPath[0]) <= 'z';
    if (prefix.empty() || !hasDrive) return {};

    const std::filesystem::path dosDevices = prefix / "dosdevices";
    const std::filesystem::path drive = dosDevices / std::string{LowerAscii(windowsPath[0]), ':'};
    std::error_code error;
    if (!std::filesystem::exists(drive, error)) return {};
    std::filesystem::path result = drive;
    // Wine's links name the drive's folder relative to dosdevices ("../drive_c") or absolutely.
    if (std::filesystem::is_symlink(drive, error)) {
        const std::filesystem::path target = std::filesystem::read_symlink(drive, error);
        if (error) return {};
        result = (dosDevices / target).lexically_normal();
    }

    // Once a part is missing, the parts below it cannot exist either: keep them as written.
    bool found = true;
    std::string_view rest = windowsPath.substr(3);
    while (!rest.empty()) {
        std::size_t length = 0;
        while (length < rest.size() && !IsSeparator(rest[length])) ++length;
        const std::string_view part = rest.substr(0, length);
        rest.remove_prefix(length < rest.size() ? length + 1 : length);
        if (part.empty()) continue;
        std::optional<std::filesystem::path> entry;
        if (found) entry = FindEntry(result, part);
        found = entry.has_value();
        result /= found ? *entry : PathFromUtf8(part);
    }
    if (IsSeparator(windowsPath.back()) && result.has_filename()) result /= "";
    return result;
}

}  // namespace platform
