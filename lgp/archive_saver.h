#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>

#include "lgp/archive_writer.h"
#include "lgp/lgp_file.h"
#include "platform/archive_lock.h"

namespace lgp {

// How SaveArchive treats the file it replaces.
struct SaveOptions {
    // Replaces an archive that has several hard links (the other names keep the old data);
    // such an archive is refused otherwise.
    bool breakLinks = false;
    // Makes the written file the archive's own, as saving over it does (the editor's
    // "Save as...").
    bool adoptTarget = false;
    // Called when the new file is complete, right before it takes the target's place; what it
    // throws leaves the target as it was (the temporary file removed) and is passed on.
    std::function<void()> beforeReplace;
};

// Saves the archive to `target` safely through WriteFileSafely: a temporary file beside it
// (for levels.lgp: levels.~lgp, or levels.~~lgp when that exists, ...; beside the file that a
// symbolic link names), created under a name no file had, written with WriteArchive, flushed
// to disk, given the old file's owner, group and permissions, and only then put in the
// target's place in one step. A target that is read-only, a folder, not a regular file, or
// has several hard links (unless options.breakLinks) is refused. When the target is the
// archive's own file, or options.adoptTarget is set, the written file becomes the archive's:
// FileName names it, the written state becomes the saved state (offsets, lengths, saved texts
// and window values, Identity) and the archive is read from it. On any failure
// the temporary file is removed, the target is left as it was, and the archive stays open and
// usable with its changes pending; the error is rethrown (lgp::FileError or
// lgp::FormatError). Callers that read, edit and save an archive hold a platform::ArchiveLock
// on it for the whole cycle, and ask the user before saving over one that ChangedOnDisk:
// SaveArchiveSafely does both.
void SaveArchive(TLGPFile& archive, const std::string& target, const Compressor& compress,
                 const WriteProgress& progress = {}, const SaveOptions& options = {});

// How long saving an archive, or reading one, waits for another program that holds its lock.
inline constexpr std::chrono::milliseconds kLockWait{2000};

// True when the two paths (UTF-8) name one file: the same name, the same name once "." and
// ".." are resolved, or one existing file reached through links or other names.
bool SameFile(const std::string& first, const std::string& second);

// A lock on the archive at path, for reading it (Shared) or replacing it (Exclusive); nothing
// when no regular file can be opened there, which reading or writing it then reports. Throws
// platform::LockBusy when another program holds the lock for longer than kLockWait.
std::optional<platform::ArchiveLock> LockArchive(const std::string& path,
                                                 platform::ArchiveLock::Mode mode);

// What SaveArchiveSafely needs besides the archive and the target.
struct SaveSteps {
    Compressor compress;
    WriteProgress progress;
    SaveOptions options;
    // Asked, while the lock is held, when the target is the archive's own file and another
    // program changed or replaced that file since it was read (or last saved): true writes
    // over that change. Without it such a change is never written over.
    std::function<bool()> saveOverChange;
    // The caller holds the target's exclusive lock already, as a command that reads, edits
    // and saves an archive does from before it reads; otherwise it is taken here.
    bool targetLocked = false;
};

// The one way the editor and the command line save an archive: takes the target's exclusive
// lock (waiting up to kLockWait for another program), checks whether the target is the
// archive's own file and, if so, whether another program changed it (a file removed meanwhile
// holds no change to lose), and saves with SaveArchive. The check runs again right before the
// new file takes the target's place, so that a file moved there during the writing is not
// lost either. Returns false, with nothing written and the archive as it was, when
// steps.saveOverChange declines (or is missing); true once saved. Throws platform::LockBusy
// and what SaveArchive throws.
bool SaveArchiveSafely(TLGPFile& archive, const std::string& target, const SaveSteps& steps);

}  // namespace lgp
