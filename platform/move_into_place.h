#pragma once

#include <string>

namespace platform {

// Puts the file `replacement` in the place of `target`, which need not exist, in the same
// folder. POSIX renames it in one step. Windows renames over no file that is open, not even
// one opened to let others delete it, as an ArchiveLock's is: there the replaced file first
// steps aside under a free name beside it (TARGET.~old, TARGET.~old2, ...), the replacement
// takes the name, and the old file is deleted, to go when its last handle closes. Throws
// std::system_error with `target` left as it was, for example when a program holds it open
// without letting others delete it.
void MoveIntoPlace(const std::string& replacement, const std::string& target);

}  // namespace platform
