#pragma once

#include <chrono>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace platform {

// Another program held the lock for longer than the wait. The message reads "PATH is being
// saved by another program".
class LockBusy : public std::runtime_error {
public:
    explicit LockBusy(const std::string& path)
        : std::runtime_error(path + " is being saved by another program") {}
};

// An advisory lock on an archive file, held from construction until Release or destruction.
// A program that reads, edits and replaces an archive holds it exclusively for the whole
// cycle, so that a second one reads only what the first has written; a program that only
// reads holds it shared while it reads. Programs that do not ask for it are not stopped.
class ArchiveLock {
public:
    enum class Mode { Shared, Exclusive };

    // Locks the existing file at path (through symbolic links), trying again for up to `wait`
    // while another program holds it. When the file is replaced meanwhile, the lock is taken
    // on the file that has the name once it is granted (the name may be free for a moment
    // then: see MoveIntoPlace). Throws LockBusy after the wait, and std::system_error when
    // the file cannot be opened or is not a regular file (a FIFO is not waited for).
    ArchiveLock(const std::string& path, Mode mode, std::chrono::milliseconds wait);
    ~ArchiveLock();
    ArchiveLock(const ArchiveLock&) = delete;
    ArchiveLock& operator=(const ArchiveLock&) = delete;
    // The lock moves with its handle.
    ArchiveLock(ArchiveLock&& other) noexcept;
    ArchiveLock& operator=(ArchiveLock&& other) noexcept;

    // Lets the lock go before the object is destroyed.
    void Release();

private:
    // A POSIX file descriptor, or a Windows HANDLE; -1 once released.
    std::intptr_t handle_ = -1;
};

}  // namespace platform
