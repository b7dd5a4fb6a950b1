#pragma once

#include <cstdint>
#include <string>

// One file stored in an archive: where its data lies in the opened archive and where the
// writer puts it in the archive being written.
class TLGPSubFile {
public:
    // Number of stored data bytes after the sub-file's 24-byte data header.
    std::int32_t Length = 0;
    // Size written for this sub-file by the last archive write; Length after opening.
    std::int32_t NewLength = 0;
    // Table-of-contents name without trailing blanks and zero bytes.
    std::string Name;
    std::string Description;
    // Position of the sub-file's data header in the opened archive.
    std::int32_t Offset = 0;
    // Position of the data header in the archive last written; Offset after opening.
    std::int32_t NewOffset = 0;
};
