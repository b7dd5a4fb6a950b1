#pragma once

#include <filesystem>
#include <memory>
#include <string_view>

namespace platform {

// A shared library loaded at run time (dlopen here, LoadLibraryW on Windows), unloaded when
// the object is destroyed.
class DynamicLibrary {
public:
    // Loads the library at `path`. A path with a folder is used as given; a plain file name goes
    // through the platform's normal search for libraries. Returns nullptr when it cannot be
    // loaded (missing file, not a library, unresolved dependencies).
    static std::unique_ptr<DynamicLibrary> Open(const std::filesystem::path& path);

    // The platform's file name of the library called `name`: "libNAME.so" here, "NAME.dll" on
    // Windows.
    static std::filesystem::path FileName(std::string_view name);

    ~DynamicLibrary();
    DynamicLibrary(const DynamicLibrary&) = delete;
    DynamicLibrary& operator=(const DynamicLibrary&) = delete;

    // The exported function `name` as a pointer of type Function, or nullptr when the library
    // exports no such symbol. The caller vouches for the type.
    template <typename Function>
    Function Find(const char* name) const {
        return reinterpret_cast<Function>(FindAddress(name));
    }

private:
    // Any function pointer type may be converted to this one and back.
    using Address = void (*)();

    explicit DynamicLibrary(void* handle) : handle_(handle) {}
    Address FindAddress(const char* name) const;

    // dlopen's handle here, the HMODULE on Windows; never null.
    void* handle_;
};

}  // namespace platform
