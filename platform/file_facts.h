#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

// What tells one state of a file's content from another: a file replaced or rewritten since
// has another identity (the device and file number catch a replacement of equal size and time).
struct FileIdentity {
    std::uint64_t size = 0;
    // Last modification, in nanoseconds since 1970.
    std::int64_t modified = 0;
    std::uint64_t device = 0;
    std::uint64_t file = 0;

    bool operator==(const FileIdentity&) const = default;
};

// What replacing a file must respect and keep.
struct FileFacts {
    enum class Kind { Regular, Folder, Other };

    Kind kind = Kind::Other;
    FileIdentity identity;
    std::uint64_t links = 1;
    // Permission bits (mode & 07777); on Windows 0444 for a read-only file, else 0666.
    unsigned mode = 0;
    // Owner and group (POSIX; 0 on Windows).
    unsigned owner = 0;
    unsigned group = 0;
    // The hidden, system and not-indexed attributes, which a new file in its place keeps
    // (Windows; 0 elsewhere). The archive bit is not among them: new data wants a backup.
    std::uint32_t attributes = 0;
    // True when no one may write the file, or this process may not: saving over it is refused.
    bool readOnly = false;
};

// The facts of the file at path, through symbolic links; nothing when there is no file there.
// Throws std::system_error when the path cannot be examined (a folder on it denies access).
std::optional<FileFacts> ReadFileFacts(const std::string& path);

// The identity of the file at path, through symbolic links; nothing when there is no file
// there or it cannot be examined. What tells whether another program changed the file.
std::optional<FileIdentity> ReadFileIdentity(const std::string& path);

// Where the file system that holds the existing path is mounted ("/", "/home", ...; on
// Windows the drive's root, "C:\"): what a full disk is named by. The path itself when that
// cannot be found out.
std::string MountPoint(const std::string& path);

// The path with the symbolic links that it names resolved, one after the other (relative
// targets from the link's folder): the file that writing to path would reach. Its folders'
// links are kept. Throws std::system_error for a chain of more than 40 links.
std::string ResolveLinks(const std::string& path);

}  // namespace platform
