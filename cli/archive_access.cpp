#include "cli/archive_access.h"

#include <iostream>
#include <stdexcept>

#include "lgp/archive_loader.h"
#include "lgp/archive_saver.h"
#include "lgp/compress_stream.h"
#include "lgp/file_error.h"
#include "lgp/format_error.h"
#include "lgp/printable_name.h"

namespace cli {

void LoadArchiveForCommand(TLGPFile& archive, const std::string& path, bool skipDamaged) {
    archive.ReadTableOfContents(path);
    if (!skipDamaged) {
        try {
            lgp::LoadLevels(archive);
        } catch (const lgp::FormatError& error) {
            throw lgp::FormatError(
                std::string(error.what()) +
                " (--skip-damaged opens the archive and keeps such levels as they are)");
        }
        return;
    }
    lgp::LoadLevels(archive, {}, 0, lgp::DamagedLevels::Keep);
    for (const auto& subFile : archive.SubFiles) {
        if (!subFile->Unreadable) continue;
        std::cerr << "orvenne-cli: " << lgp::PrintableName(path) << ": level "
                  << lgp::PrintableName(subFile->Name)
                  << " could not be read and is kept as it is: " << subFile->Damage << '\n';
    }
}

void ReadArchive(TLGPFile& archive, const std::string& path, bool skipDamaged) {
    const std::optional<platform::ArchiveLock> lock =
        lgp::LockArchive(path, platform::ArchiveLock::Mode::Shared);
    LoadArchiveForCommand(archive, path, skipDamaged);
}

void EditArchive(const std::string& path, const EditOptions& options,
                 const std::function<bool(TLGPFile&)>& edit) {
    using Mode = platform::ArchiveLock::Mode;
    const bool overArchive = !options.output || lgp::SameFile(*options.output, path);
    std::optional<platform::ArchiveLock> archiveLock =
        lgp::LockArchive(path, overArchive ? Mode::Exclusive : Mode::Shared);
    std::optional<platform::ArchiveLock> outputLock =
        overArchive ? std::nullopt : lgp::LockArchive(*options.output, Mode::Exclusive);

    TLGPFile archive;
    LoadArchiveForCommand(archive, path, options.skipDamaged);
    const bool changed = edit(archive);
    // Saving an unchanged archive over itself would only rewrite the same bytes.
    if (!options.output && !changed) return;
    const std::string target = options.output.value_or(path);
    const bool saved = lgp::SaveArchiveSafely(
        archive, target,
        {.compress = lgp::CompressStream,
         .progress = {},
         .options = {.breakLinks = options.breakLinks, .adoptTarget = false, .beforeReplace = {}},
         .saveOverChange = {},
         .targetLocked = true});
    if (!saved) {
        throw lgp::FileError(lgp::PrintableName(target) +
                             " was replaced or changed by another program since it was read; "
                             "nothing was written");
    }
}

}  // namespace cli
