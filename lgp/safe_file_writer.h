#pragma once

#include <functional>
#include <ostream>
#include <string>

namespace lgp {

// How WriteFileSafely treats the file that it replaces.
struct SafeWriteOptions {
    // Replaces a file that has several hard links, whose other names then keep the old data;
    // such a file is refused otherwise.
    bool breakLinks = false;
    // Called when the new file is complete on the disk, right before it takes the target's
    // place.
    std::function<void()> beforeReplace;
};

// Writes a file so that a failure loses nothing: `write` fills a temporary file created under
// a name that no file had, beside the target (for target.ext: target.~ext, else target.~~ext,
// ..., the part before the extension shortened when the system takes no longer name; beside
// the file that a symbolic link names, so that the link stays a link), which an interrupted
// program (Ctrl-C, SIGTERM) removes. The new file is flushed to the disk, given the replaced
// file's owner and group (where permitted) and permissions, and then put in the target's
// place in one step. Refuses, before writing, a target that is a folder ("PATH is a folder"),
// not a regular file, read-only, or has several hard links unless options.breakLinks. On any
// failure the temporary file is removed and the target left as it was; the error is
// lgp::FileError naming the target (a full disk: "cannot write PATH: no space left on MOUNT",
// MOUNT where its file system is mounted) or whatever `write` threw. Returns the path
// written: the target with its links resolved.
std::string WriteFileSafely(const std::string& target,
                            const std::function<void(std::ostream&)>& write,
                            const SafeWriteOptions& options = {});

}  // namespace lgp
