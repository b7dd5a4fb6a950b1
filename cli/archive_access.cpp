#include "cli/archive_access.h"

#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <system_error>

#include "lgp/archive_loader.h"
#include "lgp/archive_saver.h"
#include "lgp/compress_stream.h"
#include "lgp/format_error.h"
#include "lgp/printable_name.h"
#include "platform/utf8_path.h"

std::optional<platform::ArchiveLock> LockArchive(const std::string& path,
                                                 platform::ArchiveLock::Mode mode) {
    try {
        return platform::ArchiveLock(path, mode, kLockWait);
    } catch (const std::system_error&) {
        return std::nullopt;
    }
}

void OpenArchive(TLGPFile& archive, const std::string& path, bool skipDamaged) {
    archive.ReadTableOfContents(path);
    if (!skipDamaged) {
        try {
            LoadLevels(archive);
        } catch (const lgp::FormatError& error) {
            throw lgp::FormatError(
                std::string(error.what()) +
                " (--skip-damaged opens the archive and keeps such levels as they are)");
        }
        return;
    }
    LoadLevels(archive, {}, 0, DamagedLevels::Keep);
    for (const auto& subFile : archive.SubFiles) {
        if (!subFile->Unreadable) continue;
        std::cerr << "orvenne-cli: " << lgp::PrintableName(path) << ": level "
                  << lgp::PrintableName(subFile->Name)
                  << " could not be read and is kept as it is: " << subFile->Damage << '\n';
    }
}

void ReadArchive(TLGPFile& archive, const std::string& path, bool skipDamaged) {
    const std::optional<platform::ArchiveLock> lock =
        LockArchive(path, platform::ArchiveLock::Mode::Shared);
    OpenArchive(archive, path, skipDamaged);
}

void EditArchive(const std::string& path, const EditOptions& options,
                 const std::function<bool(TLGPFile&)>& edit) {
    using Mode = platform::ArchiveLock::Mode;
    const bool overArchive = !options.output || SameFile(*options.output, path);
    std::optional<platform::ArchiveLock> archiveLock =
        LockArchive(path, overArchive ? Mode::Exclusive : Mode::Shared);
    std::optional<platform::ArchiveLock> outputLock =
        overArchive ? std::nullopt : LockArchive(*options.output, Mode::Exclusive);

    TLGPFile archive;
    OpenArchive(archive, path, options.skipDamaged);
    const bool changed = edit(archive);
    // Saving an unchanged archive over itself would only rewrite the same bytes.
    if (options.output || changed) {
        SaveArchive(archive, options.output.value_or(path), CompressStream, {},
                    {.breakLinks = options.breakLinks});
    }
}

bool SameFile(const std::string& first, const std::string& second) {
    std::error_code error;
    return first == second || std::filesystem::equivalent(platform::PathFromUtf8(first),
                                                          platform::PathFromUtf8(second), error);
}
