#pragma once

#include <string>

namespace platform {

// Makes the file's data durable: returns once the system has written it to the disk. Throws
// std::system_error when the file cannot be opened or flushed.
void SyncFile(const std::string& path);

// Makes the folder's entries durable, so that a rename in it survives a crash. Best effort:
// a system without that notion (or a folder that cannot be opened) is not an error.
void SyncFolder(const std::string& path);

}  // namespace platform
