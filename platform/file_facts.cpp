#include "platform/file_facts.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "platform/utf8_path.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace platform {

namespace fs = std::filesystem;

#ifdef _WIN32

namespace {

// 100-nanosecond steps from 1601 to 1970.
constexpr std::int64_t kEpochDifference = 116444736000000000;

std::int64_t Nanoseconds(const FILETIME& time) {
    const std::int64_t steps =
        (static_cast<std::int64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    return (steps - kEpochDifference) * 100;
}

}  // namespace

std::optional<FileFacts> ReadFileFacts(const std::string& path) {
    const std::wstring wide = PathFromUtf8(path).wstring();
    HANDLE file = CreateFileW(wide.c_str(), FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return std::nullopt;
        throw std::system_error(static_cast<int>(error), std::system_category(),
                                "cannot examine " + path);
    }
    // Devices ("NUL", "CON", also with an extension) and pipes open as files too.
    const bool onDisk = GetFileType(file) == FILE_TYPE_DISK;
    BY_HANDLE_FILE_INFORMATION info;
    const BOOL read = onDisk && GetFileInformationByHandle(file, &info);
    const DWORD error = GetLastError();
    CloseHandle(file);
    FileFacts facts;
    if (!onDisk) return facts;
    if (!read) {
        throw std::system_error(static_cast<int>(error), std::system_category(),
                                "cannot examine " + path);
    }
    const bool folder = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    facts.kind = folder ? FileFacts::Kind::Folder : FileFacts::Kind::Regular;
    facts.identity.size =
        (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    facts.identity.modified = Nanoseconds(info.ftLastWriteTime);
    facts.identity.device = info.dwVolumeSerialNumber;
    facts.identity.file =
        (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    facts.links = info.nNumberOfLinks;
    facts.readOnly = (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
    facts.mode = facts.readOnly ? 0444 : 0666;
    facts.attributes = info.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                                FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
    return facts;
}

std::string MountPoint(const std::string& path) {
    std::error_code error;
    const fs::path absolute = fs::absolute(PathFromUtf8(path), error);
    return error ? path : Utf8FromPath(absolute.root_path());
}

#else

std::optional<FileFacts> ReadFileFacts(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        if (errno == ENOENT || errno == ENOTDIR) return std::nullopt;
        throw std::system_error(errno, std::generic_category(), "cannot examine " + path);
    }
    FileFacts facts;
    facts.kind = S_ISREG(status.st_mode)   ? FileFacts::Kind::Regular
                 : S_ISDIR(status.st_mode) ? FileFacts::Kind::Folder
                                           : FileFacts::Kind::Other;
    facts.identity.size = static_cast<std::uint64_t>(status.st_size);
    facts.identity.modified =
        static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
    facts.identity.device = status.st_dev;
    facts.identity.file = status.st_ino;
    facts.links = status.st_nlink;
    facts.mode = status.st_mode & 07777;
    facts.owner = status.st_uid;
    facts.group = status.st_gid;
    // The write bits alone would not do: the superuser may write a file that has none, and
    // other users' files are not ours to replace.
    facts.readOnly = (status.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0;
    return facts;
}

std::string MountPoint(const std::string& path) {
    std::error_code error;
    fs::path current = fs::canonical(path, error);
    struct stat status {};
    if (error || ::stat(current.c_str(), &status) != 0) return path;
    const dev_t device = status.st_dev;
    while (current.has_relative_path()) {
        const fs::path parent = current.parent_path();
        if (::stat(parent.c_str(), &status) != 0 || status.st_dev != device) break;
        current = parent;
    }
    return current.string();
}

#endif

std::optional<FileIdentity> ReadFileIdentity(const std::string& path) {
    try {
        const std::optional<FileFacts> facts = ReadFileFacts(path);
        if (facts) return facts->identity;
    } catch (const std::system_error&) {
    }
    return std::nullopt;
}

std::string ResolveLinks(const std::string& path) {
    constexpr int kMostLinks = 40;
    fs::path current = PathFromUtf8(path);
    for (int links = 0;; ++links) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(current, error))) return Utf8FromPath(current);
        if (links == kMostLinks) {
            throw std::system_error(std::make_error_code(std::errc::too_many_symbolic_link_levels),
                                    path);
        }
        const fs::path target = fs::read_symlink(current, error);
        if (error) throw std::system_error(error, "cannot read the link " + Utf8FromPath(current));
        current = target.is_absolute() ? target : current.parent_path() / target;
    }
}

}  // namespace platform
