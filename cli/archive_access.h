#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>

#include "lgp/lgp_file.h"
#include "platform/archive_lock.h"

// How long a command waits for another program that holds an archive's lock.
inline constexpr std::chrono::milliseconds kLockWait{2000};

// A lock on the archive at path for a command's reading (Shared) or its read-edit-replace
// cycle (Exclusive); nothing when no file can be opened there, which reading it then reports.
// Throws platform::LockBusy when another program holds the lock for longer than kLockWait.
std::optional<platform::ArchiveLock> LockArchive(const std::string& path,
                                                 platform::ArchiveLock::Mode mode);

// Opens the archive at path, every level parsed. With skipDamaged, a level that cannot be
// parsed is kept, marked Unreadable, and named on standard error with the reason; without, it
// fails the command with its error and a hint at --skip-damaged. Throws what LoadArchive throws.
void OpenArchive(TLGPFile& archive, const std::string& path, bool skipDamaged);

// OpenArchive while holding the archive's lock shared: a program saving it meanwhile is
// waited for.
void ReadArchive(TLGPFile& archive, const std::string& path, bool skipDamaged);

// True when the two paths name one file (also through links).
bool SameFile(const std::string& first, const std::string& second);

// How a command that changes an archive writes it.
struct EditOptions {
    // Where the edited archive goes; over the archive itself when empty.
    std::optional<std::string> output;
    bool skipDamaged = false;
    bool breakLinks = false;
};

// The read-edit-replace cycle of a command that changes the archive at path: takes its lock
// (exclusive when the archive itself is replaced, shared when it is only read, the output's
// exclusive then), opens it, lets `edit` change it, and saves it safely with the library
// compressor to the output, or over the archive when `edit` returns true (something changed).
// A second command on the same archive waits for this one's file instead of editing the old
// one. Throws what OpenArchive, LockArchive and SaveArchive throw, the target left as it was.
void EditArchive(const std::string& path, const EditOptions& options,
                 const std::function<bool(TLGPFile&)>& edit);
