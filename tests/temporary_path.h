#pragma once

#include <unistd.h>

#include <filesystem>
#include <string>

namespace test_support {

// A path in the system's temporary folder that no other test process uses: ctest runs test
// cases side by side, each in a process of its own.
inline std::filesystem::path TemporaryPath(const std::string& name) {
    return std::filesystem::temp_directory_path() /
           ("orvenne_" + std::to_string(::getpid()) + "_" + name);
}

}  // namespace test_support
