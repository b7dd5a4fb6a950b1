#pragma once

#include <unistd.h>

#include <filesystem>
#include <string>

// A Wine prefix in a fresh temporary folder, removed again with the object: drive C: is
// drive_c, linked as Wine links it ("dosdevices/c:" -> "../drive_c"), and drive E: is drive_e,
// linked by its absolute path.
class TemporaryWinePrefix {
public:
    explicit TemporaryWinePrefix(const std::string& name)
        : root_(std::filesystem::temp_directory_path() /
                ("orvenne_" + name + "_" + std::to_string(getpid()))) {
        std::filesystem::remove_all(root_);
        std::filesystem::create_directories(root_ / "dosdevices");
        std::filesystem::create_directories(root_ / "drive_c");
        std::filesystem::create_directories(root_ / "drive_e");
        std::filesystem::create_directory_symlink("../drive_c", root_ / "dosdevices" / "c:");
        std::filesystem::create_directory_symlink(root_ / "drive_e", root_ / "dosdevices" / "e:");
    }
    ~TemporaryWinePrefix() { std::filesystem::remove_all(root_); }
    TemporaryWinePrefix(const TemporaryWinePrefix&) = delete;
    TemporaryWinePrefix& operator=(const TemporaryWinePrefix&) = delete;

    const std::filesystem::path& Root() const { return root_; }

private:
    std::filesystem::path root_;
};
