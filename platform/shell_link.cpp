#include "platform/shell_link.h"

#include <cstddef>
#include <string>

#ifdef _WIN32
#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

#include <memory>
#else
#include <cstdint>
#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

#include "platform/link_file.h"
#include "platform/wine_prefix.h"
#endif

namespace platform {

bool IsShortcut(const std::filesystem::path& path) {
    // Compared on the file name rather than extension(), which a file named ".lnk" lacks.
    const std::u8string name = path.filename().u8string();
    const std::u8string_view extension = u8".lnk";
    if (name.size() < extension.size()) return false;
    for (std::size_t i = 0; i < extension.size(); ++i) {
        char8_t c = name[name.size() - extension.size() + i];
        if (c >= u8'A' && c <= u8'Z') c = static_cast<char8_t>(c - u8'A' + u8'a');
        if (c != extension[i]) return false;
    }
    return true;
}

#ifdef _WIN32

namespace {

struct ComRelease {
    void operator()(IUnknown* object) const { object->Release(); }
};
template <typename Interface>
using ComPointer = std::unique_ptr<Interface, ComRelease>;

}  // namespace

std::filesystem::path ShortcutTarget(const std::filesystem::path& shortcut) {
    // Callable from any thread: join its apartment, or use the one the thread already has.
    const HRESULT initialized = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    std::wstring target;
    {
        IShellLinkW* rawLink = nullptr;
        IPersistFile* rawFile = nullptr;
        if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                       IID_IShellLinkW, reinterpret_cast<void**>(&rawLink)))) {
            const ComPointer<IShellLinkW> link(rawLink);
            if (SUCCEEDED(
                    link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&rawFile)))) {
                const ComPointer<IPersistFile> file(rawFile);
                wchar_t path[MAX_PATH] = {};
                if (SUCCEEDED(file->Load(shortcut.c_str(), STGM_READ)) &&
                    link->GetPath(path, MAX_PATH, nullptr, SLGP_UNCPRIORITY) == S_OK) {
                    target = path;
                }
            }
        }
    }
    if (SUCCEEDED(initialized)) CoUninitialize();
    return target;
}

#else

std::filesystem::path ShortcutTarget(const std::filesystem::path& shortcut) {
    // A link is a few hundred bytes; anything far larger is not one and is not read whole.
    constexpr std::uintmax_t kMaxLinkSize = 1 << 20;
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(shortcut, error);
    if (error || size > kMaxLinkSize) return {};
    std::ifstream file(shortcut, std::ios::binary);
    if (!file) return {};
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file),
                                          std::istreambuf_iterator<char>()};

    const std::string target = LinkFileTarget(bytes);
    if (target.empty()) return {};
    std::filesystem::path hostPath = WineHostPath(WinePrefix(), target);
    if (hostPath.empty()) return std::u8string(target.begin(), target.end());
    return hostPath;
}

#endif

}  // namespace platform
