#include "platform/dynamic_library.h"

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

using platform::DynamicLibrary;

TEST(DynamicLibraryTest, FindsExportedFunctionsAndNothingElse) {
    const auto library = DynamicLibrary::Open(STUB_WITHOUT_COMPRESS_PATH);
    ASSERT_NE(library, nullptr);
    const auto answer = library->Find<int (*)()>("stub_answer");
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(answer(), 42);
    EXPECT_EQ(library->Find<int (*)()>("_lzs_compress"), nullptr);
}

TEST(DynamicLibraryTest, UnloadsOnDestruction) {
    DynamicLibrary::Open(STUB_WITHOUT_COMPRESS_PATH).reset();
    // RTLD_NOLOAD only reports whether the library is still in memory.
    void* handle = dlopen(STUB_WITHOUT_COMPRESS_PATH, RTLD_NOW | RTLD_NOLOAD);
    EXPECT_EQ(handle, nullptr);
    if (handle != nullptr) dlclose(handle);
}

TEST(DynamicLibraryTest, OpenGivesNullWhenNothingLoadable) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                         ("orvenne_dynamic_library_" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    const std::filesystem::path text = folder / DynamicLibrary::FileName("text");
    std::ofstream(text) << "not a shared library\n";

    EXPECT_EQ(DynamicLibrary::Open(folder / DynamicLibrary::FileName("missing")), nullptr);
    EXPECT_EQ(DynamicLibrary::Open(text), nullptr);
    EXPECT_EQ(DynamicLibrary::Open(DynamicLibrary::FileName("orvenne_no_such_library")), nullptr);
    std::filesystem::remove_all(folder);
}

}  // namespace
