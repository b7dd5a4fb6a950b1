#include "platform/file_sync.h"

#include <system_error>

#ifdef _WIN32
#include <windows.h>

#include "platform/utf8_path.h"
#else
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace platform {

#ifdef _WIN32

void SyncFile(const std::string& path) {
    const std::wstring wide = PathFromUtf8(path).wstring();
    HANDLE file = CreateFileW(wide.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        throw std::system_error(static_cast<int>(GetLastError()), std::system_category(),
                                "cannot open " + path + " to flush it");
    }
    const BOOL flushed = FlushFileBuffers(file);
    const DWORD error = GetLastError();
    CloseHandle(file);
    if (!flushed) {
        throw std::system_error(static_cast<int>(error), std::system_category(),
                                "cannot flush " + path);
    }
}

// Windows commits a replacement's folder entry with the file itself.
void SyncFolder(const std::string&) {}

#else

void SyncFile(const std::string& path) {
    const int file = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (file < 0) {
        throw std::system_error(errno, std::generic_category(), "cannot open " + path + " to flush it");
    }
    const int result = ::fsync(file);
    const int error = errno;
    ::close(file);
    if (result != 0) throw std::system_error(error, std::generic_category(), "cannot flush " + path);
}

void SyncFolder(const std::string& path) {
    const int folder = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) return;
    ::fsync(folder);
    ::close(folder);
}

#endif

}  // namespace platform
