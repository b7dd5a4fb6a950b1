#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The string value `name` of the key `key` in the text of a Wine registry file (such as a
// prefix's system.reg, whose keys start below HKEY_LOCAL_MACHINE), in UTF-8; "" names the key's
// default value. `key` has single backslashes ("Software\Vendor\Product"); key and value names
// match without regard to ASCII case. Nothing when the key or value is missing or the value is
// not a plain string. Lines that cannot be read are skipped.
std::optional<std::string> WineRegistryString(std::string_view file, std::string_view key,
                                              std::string_view name);

}  // namespace platform
