#pragma once

#include <stdexcept>
#include <string>

namespace lgp {

// Raised when an archive or a level's data does not have the layout it should; the message
// says what was wrong and where.
class FormatError : public std::runtime_error {
public:
    explicit FormatError(const std::string& what) : std::runtime_error(what) {}
};

}  // namespace lgp
