#pragma once

#include <chrono>
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
