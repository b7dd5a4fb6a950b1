#include "platform/program_folder.h"

#include <string>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace platform {

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

#else

std::filesystem::path ProgramFolder() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return {};
    return program.parent_path();
}

#endif

}  // namespace platform
