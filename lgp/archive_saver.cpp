#include "lgp/archive_saver.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "lgp/file_error.h"
#include "platform/file_sync.h"
#include "platform/utf8_path.h"

namespace fs = std::filesystem;

namespace {

// The first free name beside the target with its extension replaced by ".~lgp", ".~~lgp", ...
fs::path TemporaryPath(const fs::path& target) {
    for (std::string tildes = "~";; tildes += '~') {
        fs::path candidate = target;
        candidate.replace_extension("." + tildes + "lgp");
        std::error_code error;
        const fs::file_status status = fs::symlink_status(candidate, error);
        if (status.type() == fs::file_type::not_found) return candidate;
        if (error) throw lgp::FileError("cannot look for a temporary file beside " + target.string());
    }
}

bool IsReadOnly(const fs::path& path) {
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    return !error && fs::exists(status) &&
           (status.permissions() & fs::perms::owner_write) == fs::perms::none;
}

// Writes the new archive to a file of its own and flushes it to disk.
void WriteTemporary(TLGPFile& archive, const fs::path& temporary, const Compressor& compress,
                    const WriteProgress& progress) {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) throw lgp::FileError("cannot create " + temporary.string());
    WriteArchive(archive, out, compress, progress);
    out.close();
    if (!out) throw lgp::FileError("cannot write " + temporary.string());
    try {
        platform::SyncFile(temporary.string());
    } catch (const std::system_error& error) {
        throw lgp::FileError(error.what());
    }
}

// Puts the temporary file in place of the target in one step. A read-only target is made
// writable first, and read-only again when it cannot be replaced.
void Replace(const fs::path& temporary, const fs::path& target) {
    const bool readOnly = IsReadOnly(target);
    std::error_code error;
    if (readOnly) {
        fs::permissions(target, fs::perms::owner_write, fs::perm_options::add, error);
        if (error) throw lgp::FileError("cannot make " + target.string() + " writable");
    }
    fs::rename(temporary, target, error);
    if (error) {
        if (readOnly) {
            std::error_code ignored;
            fs::permissions(target, fs::perms::owner_write, fs::perm_options::remove, ignored);
        }
        throw lgp::FileError("cannot replace " + target.string() + ": " + error.message());
    }
    platform::SyncFolder(fs::absolute(target).parent_path().string());
}

// The written file becomes the opened one: its offsets, lengths, texts and window values are
// now what is saved.
void AdoptWrittenState(TLGPFile& archive, std::unique_ptr<std::istream> stream) {
    archive.Stream = std::move(stream);
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
                 const WriteProgress& progress) {
    const bool overOpened = target == archive.FileName;
    const fs::path targetPath = platform::PathFromUtf8(target);
    const fs::path temporary = TemporaryPath(targetPath);
    try {
        WriteTemporary(archive, temporary, compress, progress);
#ifdef _WIN32
        // Windows replaces no file that is open: the opened archive is let go meanwhile.
        if (overOpened) archive.Stream.reset();
#endif
        Replace(temporary, targetPath);
    } catch (...) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
#ifdef _WIN32
        if (!archive.Stream) archive.Stream = std::make_unique<std::ifstream>(targetPath, std::ios::binary);
#endif
        throw;
    }
    if (!overOpened) return;
    // Until the new file is open, the old stream keeps reading the old data consistently.
    auto stream = std::make_unique<std::ifstream>(targetPath, std::ios::binary);
    if (!*stream) throw lgp::FileError("cannot open " + target + " again after saving it");
    AdoptWrittenState(archive, std::move(stream));
}
