#include "platform/archive_lock.h"

#include <cerrno>
#include <system_error>
#include <thread>
#include <utility>

#ifdef _WIN32
#include <windows.h>

#include <optional>

#include "platform/file_facts.h"
#include "platform/utf8_path.h"
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace platform {

namespace {

constexpr std::chrono::milliseconds kRetryPause(20);
constexpr std::intptr_t kReleased = -1;

#ifdef _WIN32

// One byte far past the end of any archive: a lock there stops no one from reading, as a lock
// on the data would on Windows.
constexpr DWORD kLockedByteLow = 0xFFFFFFFE;
constexpr DWORD kLockedByteHigh = 0x7FFFFFFF;

HANDLE OpenForLocking(const std::string& path) {
    const std::wstring wide = PathFromUtf8(path).wstring();
    HANDLE file = CreateFileW(wide.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        throw std::system_error(static_cast<int>(GetLastError()), std::system_category(),
                                "cannot open " + path + " to lock it");
    }
    return file;
}

// True when the lock was granted, false while another handle holds it.
bool TryLock(HANDLE file, ArchiveLock::Mode mode, const std::string& path) {
    OVERLAPPED where{};
    where.Offset = kLockedByteLow;
    where.OffsetHigh = kLockedByteHigh;
    DWORD flags = LOCKFILE_FAIL_IMMEDIATELY;
    if (mode == ArchiveLock::Mode::Exclusive) flags |= LOCKFILE_EXCLUSIVE_LOCK;
    if (LockFileEx(file, flags, 0, 1, 0, &where)) return true;
    const DWORD error = GetLastError();
    if (error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING) return false;
    throw std::system_error(static_cast<int>(error), std::system_category(), "cannot lock " + path);
}

bool NamesLockedFile(HANDLE file, const std::string& path) {
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(file, &info)) return false;
    const std::optional<FileFacts> facts = ReadFileFacts(path);
    return facts && facts->identity.device == info.dwVolumeSerialNumber &&
           facts->identity.file ==
               ((static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow);
}

void Close(std::intptr_t handle) { CloseHandle(reinterpret_cast<HANDLE>(handle)); }

std::intptr_t AsInteger(HANDLE file) { return reinterpret_cast<std::intptr_t>(file); }

#else

int OpenForLocking(const std::string& path) {
    // Without waiting: opening a FIFO would wait for a writer.
    const int file = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (file < 0) {
        throw std::system_error(errno, std::generic_category(),
                                "cannot open " + path + " to lock it");
    }
    struct stat status {};
    if (::fstat(file, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(file);
        throw std::system_error(std::make_error_code(std::errc::invalid_argument),
                                path + " is not a regular file to lock");
    }
    return file;
}

bool TryLock(int file, ArchiveLock::Mode mode, const std::string& path) {
    const int operation = (mode == ArchiveLock::Mode::Exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
    while (::flock(file, operation) != 0) {
        if (errno == EWOULDBLOCK) return false;
        if (errno != EINTR)
            throw std::system_error(errno, std::generic_category(), "cannot lock " + path);
    }
    return true;
}

bool NamesLockedFile(int file, const std::string& path) {
    struct stat locked {};
    struct stat named {};
    return ::fstat(file, &locked) == 0 && ::stat(path.c_str(), &named) == 0 &&
           locked.st_dev == named.st_dev && locked.st_ino == named.st_ino;
}

void Close(std::intptr_t handle) { ::close(static_cast<int>(handle)); }

std::intptr_t AsInteger(int file) { return file; }

#endif

}  // namespace

ArchiveLock::ArchiveLock(const std::string& path, Mode mode, std::chrono::milliseconds wait) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (bool opened = false;; opened = true) {
        decltype(OpenForLocking(path)) file;
        try {
            file = OpenForLocking(path);
        } catch (const std::system_error&) {
            // Once the file was there, a replacement is under way between its two renames.
            if (!opened || std::chrono::steady_clock::now() >= deadline) throw;
            std::this_thread::sleep_for(kRetryPause);
            continue;
        }
        try {
            while (!TryLock(file, mode, path)) {
                if (std::chrono::steady_clock::now() >= deadline) throw LockBusy(path);
                std::this_thread::sleep_for(kRetryPause);
            }
            // A writer that held the lock may have put a new file in this one's place: the
            // lock then guards nothing, and belongs on the new file.
            if (NamesLockedFile(file, path)) {
                handle_ = AsInteger(file);
                return;
            }
            if (std::chrono::steady_clock::now() >= deadline) throw LockBusy(path);
        } catch (...) {
            Close(AsInteger(file));
            throw;
        }
        Close(AsInteger(file));
    }
}

ArchiveLock::~ArchiveLock() { Release(); }

ArchiveLock::ArchiveLock(ArchiveLock&& other) noexcept
    : handle_(std::exchange(other.handle_, kReleased)) {}

ArchiveLock& ArchiveLock::operator=(ArchiveLock&& other) noexcept {
    if (this != &other) {
        Release();
        handle_ = std::exchange(other.handle_, kReleased);
    }
    return *this;
}

void ArchiveLock::Release() {
    // Closing the only handle on the lock lets it go.
    if (handle_ != kReleased) Close(handle_);
    handle_ = kReleased;
}

}  // namespace platform
