#include "lgp/archive_saver.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "lgp/file_error.h"
#include "lgp/printable_name.h"
#include "lgp/safe_file_writer.h"
#include "platform/utf8_path.h"

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
    std::error_code ignored;
    const bool overOpened = target == archive.FileName ||
                            fs::equivalent(platform::PathFromUtf8(target),
                                           platform::PathFromUtf8(archive.FileName), ignored);
    SafeWriteOptions writeOptions{.breakLinks = options.breakLinks, .beforeReplace = {}};
#ifdef _WIN32
    // Windows moves no file aside that is open without letting others delete it, as the
    // archive's stream is.
    writeOptions.beforeReplace = [&] {
        if (overOpened) archive.Stream.reset();
    };
#endif
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
