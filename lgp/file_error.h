#pragma once

#include <stdexcept>
#include <string>

namespace lgp {

// Raised when a file cannot be opened, read or written; the message names the file.
class FileError : public std::runtime_error {
public:
    explicit FileError(const std::string& what) : std::runtime_error(what) {}
};

}  // namespace lgp
