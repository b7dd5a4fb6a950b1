#include "platform/move_into_place.h"

#include <filesystem>
#include <string>
#include <system_error>

#include "platform/utf8_path.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace platform {

#ifdef _WIN32

void MoveIntoPlace(const std::string& replacement, const std::string& target) {
    const std::wstring from = PathFromUtf8(replacement).wstring();
    const std::wstring to = PathFromUtf8(target).wstring();
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING)) return;
    const DWORD refused = GetLastError();
    if (refused != ERROR_ACCESS_DENIED && refused != ERROR_SHARING_VIOLATION) {
        throw std::system_error(static_cast<int>(refused), std::system_category(),
                                "cannot rename " + replacement + " to " + target);
    }
    // Open handles that let others delete the file let it be renamed: it steps aside.
    std::wstring aside;
    for (int attempt = 1;; ++attempt) {
        aside = to + L".~old" + (attempt == 1 ? std::wstring() : std::to_wstring(attempt));
        if (MoveFileExW(to.c_str(), aside.c_str(), 0)) break;
        const DWORD error = GetLastError();
        if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) {
            throw std::system_error(static_cast<int>(error), std::system_category(),
                                    "cannot move " + target + " aside");
        }
    }
    if (!MoveFileExW(from.c_str(), to.c_str(), 0)) {
        const DWORD error = GetLastError();
        MoveFileExW(aside.c_str(), to.c_str(), 0);
        throw std::system_error(static_cast<int>(error), std::system_category(),
                                "cannot rename " + replacement + " to " + target);
    }
    // Not deleted, the old file would only stay behind under its other name.
    DeleteFileW(aside.c_str());
}

#else

void MoveIntoPlace(const std::string& replacement, const std::string& target) {
    std::error_code error;
    std::filesystem::rename(PathFromUtf8(replacement), PathFromUtf8(target), error);
    if (error) throw std::system_error(error, "cannot rename " + replacement + " to " + target);
}

#endif

}  // namespace platform
