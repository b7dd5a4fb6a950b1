#include "lgp/safe_file_writer.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <system_error>

#include "lgp/file_error.h"
#include "lgp/printable_name.h"
#include "platform/file_facts.h"
#include "platform/file_sync.h"
#include "platform/interrupt_guard.h"
#include "platform/move_into_place.h"
#include "platform/new_file.h"
#include "platform/utf8_path.h"

namespace lgp {

namespace fs = std::filesystem;

namespace {

// Why writing the target failed; a full disk is named by where it is mounted.
std::string WriteFailure(const std::string& shown, const fs::path& file, std::error_code error) {
    if (error == std::errc::no_space_on_device) {
        return "cannot write " + shown + ": no space left on " +
               lgp::PrintableName(platform::MountPoint(
                   file.parent_path().empty() ? "." : platform::Utf8FromPath(file.parent_path())));
    }
    return "cannot write " + shown + (error ? ": " + error.message() : std::string());
}

// The facts of the file that the new one will replace, nothing when there is none; throws
// lgp::FileError for a file that must not be replaced.
std::optional<platform::FileFacts> CheckReplaceable(const std::string& shown,
                                                    const fs::path& resolved, bool breakLinks) {
    std::optional<platform::FileFacts> facts;
    try {
        facts = platform::ReadFileFacts(platform::Utf8FromPath(resolved));
    } catch (const std::system_error& error) {
        throw lgp::FileError("cannot examine " + shown + ": " + error.code().message());
    }
    if (!facts) return facts;
    if (facts->kind == platform::FileFacts::Kind::Folder)
        throw lgp::FileError(shown + " is a folder");
    if (facts->kind != platform::FileFacts::Kind::Regular) {
        throw lgp::FileError(shown + " is not a regular file");
    }
    if (facts->readOnly) throw lgp::FileError(shown + " is read-only");
    if (facts->links > 1 && !breakLinks) {
        throw lgp::FileError(shown + " has " + std::to_string(facts->links) +
                             " hard links; a new file in its place would leave the other names "
                             "with the old data");
    }
    return facts;
}

// Drops the last character of a UTF-8 name.
void DropLastCharacter(std::string& name) {
    while (!name.empty() && (static_cast<unsigned char>(name.back()) & 0xC0) == 0x80) {
        name.pop_back();
    }
    if (!name.empty()) name.pop_back();
}

// The first free name beside the target, created there: for levels.lgp levels.~lgp, then
// levels.~~lgp, ... Creating it is the test, so that two programs never share one. Where the
// system takes no longer name (a target's name of 255 bytes), the name before the extension
// is shortened instead.
std::unique_ptr<platform::NewFile> CreateTemporary(const std::string& shown,
                                                   const fs::path& resolved, bool replacing,
                                                   fs::path& temporary) {
    const std::string extension = platform::Utf8FromPath(resolved.extension());
    std::string stem = platform::Utf8FromPath(resolved.stem());
    for (std::string tildes = "~";;) {
        temporary = resolved.parent_path() /
                    platform::PathFromUtf8(stem + "." + tildes +
                                           (extension.empty() ? "" : extension.substr(1)));
        try {
            // Readable by its owner alone until it has the replaced file's permissions.
            auto file = platform::NewFile::Create(platform::Utf8FromPath(temporary),
                                                  replacing ? 0600 : 0666);
            if (file) return file;
            tildes += '~';
        } catch (const std::system_error& error) {
            if (error.code() == std::errc::filename_too_long && stem.size() > 1) {
                DropLastCharacter(stem);
                continue;
            }
            throw lgp::FileError("cannot create a temporary file beside " + shown + ": " +
                                 error.code().message());
        }
    }
}

}  // namespace

std::string WriteFileSafely(const std::string& target,
                            const std::function<void(std::ostream&)>& write,
                            const SafeWriteOptions& options) {
    const std::string shown = lgp::PrintableName(target);
    fs::path resolved;
    try {
        resolved = platform::PathFromUtf8(platform::ResolveLinks(target));
    } catch (const std::system_error& error) {
        throw lgp::FileError("cannot follow the link " + shown + ": " + error.code().message());
    }
    const std::optional<platform::FileFacts> replaced =
        CheckReplaceable(shown, resolved, options.breakLinks);
    fs::path temporary;
    std::unique_ptr<platform::NewFile> file =
        CreateTemporary(shown, resolved, replaced.has_value(), temporary);
    platform::InterruptGuard removedOnInterrupt(platform::Utf8FromPath(temporary));
    try {
        std::ostream out(file.get());
        try {
            write(out);
            out.flush();
        } catch (const lgp::FileError&) {
            // A failed write names only the stream; the file knows what the system said.
            if (file->Error()) throw lgp::FileError(WriteFailure(shown, resolved, file->Error()));
            throw;
        }
        if (!out) throw lgp::FileError(WriteFailure(shown, resolved, file->Error()));
        try {
            if (replaced) file->TakeAttributes(*replaced);
        } catch (const std::system_error& error) {
            throw lgp::FileError("cannot give the new " + shown +
                                 " the permissions of the old: " + error.code().message());
        }
        try {
            file->Commit();
        } catch (const std::system_error& error) {
            throw lgp::FileError(WriteFailure(shown, resolved, error.code()));
        }
        if (options.beforeReplace) options.beforeReplace();
        try {
            platform::MoveIntoPlace(platform::Utf8FromPath(temporary),
                                    platform::Utf8FromPath(resolved));
            removedOnInterrupt.Release();
        } catch (const std::system_error& error) {
            throw lgp::FileError("cannot replace " + shown + ": " + error.code().message());
        }
    } catch (...) {
        file.reset();
        std::error_code ignored;
        fs::remove(temporary, ignored);
        throw;
    }
    platform::SyncFolder(platform::Utf8FromPath(fs::absolute(resolved).parent_path()));
    return platform::Utf8FromPath(resolved);
}

}  // namespace lgp
