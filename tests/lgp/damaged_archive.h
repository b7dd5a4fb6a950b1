#pragma once

#include <map>
#include <string>

#include "tests/lgp/archive_builder.h"

namespace lgp_test {

// How a level of a damaged copy is spoilt.
enum class LevelDamage {
    // Its data ends inside its script section's header: it cannot be parsed.
    Unreadable,
    // Its last text position points past its text section: its texts are read, but it must not
    // be rebuilt.
    TextPastEnd,
};

// The bytes of the archive at `path` with the named levels spoilt; every other file, and the
// table order, as they were.
Bytes DamagedCopy(const std::string& path, const std::map<std::string, LevelDamage>& damages);

}  // namespace lgp_test
