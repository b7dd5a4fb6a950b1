#pragma once

#include <string>
#include <string_view>

namespace lgp {

// The name (of a sub-file, a file, a level) as it may be printed: each control byte (below
// 0x20, and 0x7F) written as \xNN, so that a NUL does not cut a message off and no byte
// reaches a terminal as a command. Every other byte is kept.
std::string PrintableName(std::string_view name);

}  // namespace lgp
