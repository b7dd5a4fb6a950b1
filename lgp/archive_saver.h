#pragma once

#include <string>

#include "lgp/archive_writer.h"
#include "lgp/lgp_file.h"

// How SaveArchive treats the file it replaces.
struct SaveOptions {
    // Replaces an archive that has several hard links (the other names keep the old data);
    // such an archive is refused otherwise.
    bool breakLinks = false;
    // Makes the written file the archive's own, as saving over it does (the editor's
    // "Save as...").
    bool adoptTarget = false;
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
// on it for the whole cycle, and ask the user before saving over one that ChangedOnDisk.
void SaveArchive(TLGPFile& archive, const std::string& target, const Compressor& compress,
                 const WriteProgress& progress = {}, const SaveOptions& options = {});
