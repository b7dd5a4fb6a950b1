#pragma once

#include <string>

namespace platform {

// While it lives, the file at path is removed when the process is interrupted: Ctrl-C,
// SIGTERM or SIGHUP on POSIX systems (the process then ends by that signal, as it would have),
// Ctrl-C, Ctrl-Break or the console closing on Windows. Meant for temporary files that
// would otherwise stay beside the user's files for good. A signal that the process ignores,
// or handles itself, is left alone. At most 16 files are guarded at once, and paths up to
// 4,095 bytes; a file beyond that is not guarded.
class InterruptGuard {
public:
    explicit InterruptGuard(const std::string& path);
    ~InterruptGuard();
    InterruptGuard(const InterruptGuard&) = delete;
    InterruptGuard& operator=(const InterruptGuard&) = delete;

    // Stops guarding the file (it has been renamed or removed).
    void Release();

private:
    // The slot that holds the path; -1 when none does.
    int slot_ = -1;
};

}  // namespace platform
