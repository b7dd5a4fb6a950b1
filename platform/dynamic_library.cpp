#include "platform/dynamic_library.h"

#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace platform {

#ifdef _WIN32

std::unique_ptr<DynamicLibrary> DynamicLibrary::Open(const std::filesystem::path& path) {
    // The wide-character call, so that folders with any characters in their names work.
    HMODULE module = LoadLibraryW(path.c_str());
    if (module == nullptr) return nullptr;
    return std::unique_ptr<DynamicLibrary>(new DynamicLibrary(module));
}

std::filesystem::path DynamicLibrary::FileName(std::string_view name) {
    return std::filesystem::path(std::string(name) + ".dll");
}

DynamicLibrary::~DynamicLibrary() { FreeLibrary(static_cast<HMODULE>(handle_)); }

DynamicLibrary::Address DynamicLibrary::FindAddress(const char* name) const {
    // FARPROC is itself a function pointer, so this is a conversion between function pointers.
    return reinterpret_cast<Address>(GetProcAddress(static_cast<HMODULE>(handle_), name));
}

#else

std::unique_ptr<DynamicLibrary> DynamicLibrary::Open(const std::filesystem::path& path) {
    // RTLD_NOW: a library with unresolved symbols fails here rather than at its first call.
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) return nullptr;
    return std::unique_ptr<DynamicLibrary>(new DynamicLibrary(handle));
}

std::filesystem::path DynamicLibrary::FileName(std::string_view name) {
    return std::filesystem::path("lib" + std::string(name) + ".so");
}

DynamicLibrary::~DynamicLibrary() { dlclose(handle_); }

DynamicLibrary::Address DynamicLibrary::FindAddress(const char* name) const {
    return reinterpret_cast<Address>(dlsym(handle_, name));
}

#endif

}  // namespace platform
