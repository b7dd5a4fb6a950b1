#include "lgp/archive_saver.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "lgp/file_error.h"
#include "lgp/printable_name.h"
#include "lgp/safe_file_writer.h"
#include "platform/file_facts.h"
#include "platform/utf8_path.h"

namespace lgp {

namespace fs = std::filesystem;

namespace {

// The written file becomes the opened one: its offsets, lengths, texts and window values are
// now what is saved.
void AdoptWrittenState(TLGPFile& archive, std::unique_ptr<std::istream> stream) {
    archive.Stream = std::move(stream);
    archive.NoteIdentity();
    for (const auto& subFile : archive.SubFiles) {
        subFile->Offset = subFile->NewOffset;
        subFile->Length = subFile->NewLength;
        for (std::size_t t = 0; t < subFile->Texts.size() && t < subFile->SavedTexts.size(); ++t) {
            subFile->SavedTexts[t] = subFile->Texts[t].Bytes;
        }
        for (TEntity& entity : subFile->Entities) {
            for (TScript& script : entity.Scripts) {
                for (TWindow& window : script.Windows) {
                    window.SavedX = window.X;
                    window.SavedY = window.Y;
                    window.SavedWidth = window.Width;
                    window.SavedHeight = window.Height;
                }
            }
        }
    }
}

}  // namespace

void SaveArchive(TLGPFile& archive, const std::string& target, const Compressor& compress,
                 const WriteProgress& progress, const SaveOptions& options) {
    const bool overOpened = lgp::SameFile(target, archive.FileName);
    SafeWriteOptions writeOptions{.breakLinks = options.breakLinks, .beforeReplace = {}};
    writeOptions.beforeReplace = [&] {
        if (options.beforeReplace) options.beforeReplace();
#ifdef _WIN32
        // Windows moves no file aside that is open without letting others delete it, as the
        // archive's stream is.
        if (overOpened) archive.Stream.reset();
#endif
    };
    try {
        WriteFileSafely(
            target, [&](std::ostream& out) { WriteArchive(archive, out, compress, progress); },
            writeOptions);
    } catch (...) {
#ifdef _WIN32
        if (!archive.Stream) {
            archive.Stream = std::make_unique<std::ifstream>(
                platform::PathFromUtf8(archive.FileName), std::ios::binary);
        }
#endif
        throw;
    }
    if (!overOpened && !options.adoptTarget) return;
    // Until the new file is open, the old stream keeps reading the old data consistently.
    auto stream = std::make_unique<std::ifstream>(platform::PathFromUtf8(target), std::ios::binary);
    if (!*stream) {
        throw lgp::FileError("cannot open " + lgp::PrintableName(target) + " after saving it");
    }
    archive.FileName = target;
    AdoptWrittenState(archive, std::move(stream));
}

namespace {

// Thrown from the last check before the replacement when the user keeps the other program's
// change.
struct SaveDeclined {};

}  // namespace

bool SameFile(const std::string& first, const std::string& second) {
    const fs::path a = platform::PathFromUtf8(first);
    const fs::path b = platform::PathFromUtf8(second);
    std::error_code ignored;
    return a.lexically_normal() == b.lexically_normal() || fs::equivalent(a, b, ignored);
}

std::optional<platform::ArchiveLock> LockArchive(const std::string& path,
                                                 platform::ArchiveLock::Mode mode) {
    try {
        return platform::ArchiveLock(path, mode, kLockWait);
    } catch (const std::system_error&) {
        return std::nullopt;
    }
}

bool SaveArchiveSafely(TLGPFile& archive, const std::string& target, const SaveSteps& steps) {
    std::optional<platform::ArchiveLock> lock;
    if (!steps.targetLocked) lock = LockArchive(target, platform::ArchiveLock::Mode::Exclusive);
    // Checked under the lock: a program that saves the file meanwhile has finished by now.
    const bool overOwn = SameFile(target, archive.FileName);
    std::optional<platform::FileIdentity> expected = archive.Identity;
    // True when the file at the archive's name is the one read, one the user chose to write
    // over, or none; asks otherwise.
    const auto mayReplace = [&] {
        const std::optional<platform::FileIdentity> now =
            platform::ReadFileIdentity(archive.FileName);
        if (!now || now == expected) return true;
        if (!steps.saveOverChange || !steps.saveOverChange()) return false;
        expected = now;
        return true;
    };
    if (overOwn && !mayReplace()) return false;
    SaveOptions options = steps.options;
    if (overOwn) {
        options.beforeReplace = [&] {
            if (!mayReplace()) throw SaveDeclined();
        };
    }
    try {
        SaveArchive(archive, target, steps.compress, steps.progress, options);
    } catch (const SaveDeclined&) {
        return false;
    }
    return true;
}

}  // namespace lgp
