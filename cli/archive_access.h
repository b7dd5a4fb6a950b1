#pragma once

#include <functional>
#include <optional>
#include <string>

#include "lgp/lgp_file.h"

namespace cli {

// Loads the archive at path for a command, every level parsed. With skipDamaged, a level that
// cannot be parsed is kept, marked Unreadable, and named on standard error with the reason;
// without, it fails the command with its error and a hint at --skip-damaged. Throws what
// lgp::LoadArchive throws.
void LoadArchiveForCommand(TLGPFile& archive, const std::string& path, bool skipDamaged);

// LoadArchiveForCommand while holding the archive's lock shared (lgp::LockArchive): a program
// saving it meanwhile is waited for.
void ReadArchive(TLGPFile& archive, const std::string& path, bool skipDamaged);

// How a command that changes an archive writes it.
struct EditOptions {
    // Where the edited archive goes; over the archive itself when empty.
    std::optional<std::string> output;
    bool skipDamaged = false;
    bool breakLinks = false;
};

// The read-edit-replace cycle of a command that changes the archive at path: takes its lock
// (exclusive when the archive itself is replaced, shared when it is only read, the output's
// exclusive then), opens it, lets `edit` change it, and saves it with lgp::SaveArchiveSafely
// and the library compressor to the output, or over the archive when `edit` returns true
// (something changed). A second command on the same archive waits for this one's file instead
// of editing the old one; an archive that another program replaced or changed meanwhile, which
// takes no lock, is not written over (lgp::FileError). Throws what LoadArchiveForCommand,
// lgp::LockArchive and lgp::SaveArchiveSafely throw, the target left as it was.
void EditArchive(const std::string& path, const EditOptions& options,
                 const std::function<bool(TLGPFile&)>& edit);

}  // namespace cli
