// The Windows branches of the OS layer, run under Wine: the registry, the shell's links,
// loading a DLL, the program's folder and flushing a file.
#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include "platform/dynamic_library.h"
#include "platform/file_sync.h"
#include "platform/game_data_folder.h"
#include "platform/link_file.h"
#include "platform/program_folder.h"
#include "platform/shell_link.h"

namespace {

namespace fs = std::filesystem;

// A fresh folder below the temporary one, removed again with the object.
class TemporaryFolder {
public:
    explicit TemporaryFolder(const std::string& name)
        : path_(fs::temp_directory_path() /
                ("orvenne_" + name + "_" + std::to_string(GetCurrentProcessId()))) {
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~TemporaryFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const fs::path& Path() const { return path_; }

private:
    fs::path path_;
};

TEST(WindowsPlatformTest, ProgramFolderHoldsThisProgram) {
    const fs::path folder = platform::ProgramFolder();
    EXPECT_TRUE(folder.is_absolute()) << folder;
    EXPECT_TRUE(fs::exists(folder / "platform_windows_platform_test.exe")) << folder;
}

TEST(WindowsPlatformTest, LibrariesAndDataLieBesideTheProgram) {
    const fs::path folder = platform::ProgramFolder();
    EXPECT_EQ(platform::InstalledLibraryFolder(), folder);
    const wchar_t* appData = _wgetenv(L"APPDATA");
    ASSERT_NE(appData, nullptr);
    const std::vector<fs::path> expected = {folder, fs::path(appData) / "Orvenne"};
    EXPECT_EQ(platform::DataFolders(), expected);
}

TEST(WindowsPlatformTest, LoadsTheLibraryBesideTheProgram) {
    EXPECT_EQ(platform::DynamicLibrary::FileName("corvask"), fs::path("corvask.dll"));
    const auto library = platform::DynamicLibrary::Open(platform::ProgramFolder() / "corvask.dll");
    ASSERT_NE(library, nullptr);
    EXPECT_NE(library->Find<void (*)()>("_lzs_compress"), nullptr);
    EXPECT_NE(library->Find<void (*)()>("_lzs_decompress"), nullptr);
    EXPECT_EQ(library->Find<void (*)()>("lzs_compress"), nullptr);

    const TemporaryFolder folder("windows_library");
    std::ofstream(folder.Path() / "text.dll") << "not a library\r\n";
    EXPECT_EQ(platform::DynamicLibrary::Open(folder.Path() / "text.dll"), nullptr);
    EXPECT_EQ(platform::DynamicLibrary::Open(folder.Path() / "missing.dll"), nullptr);
    EXPECT_EQ(platform::DynamicLibrary::Open("orvenne_no_such_library.dll"), nullptr);
}

// The game's key in the given view of the registry, created for a test and deleted with the
// object.
class GameKey {
public:
    explicit GameKey(REGSAM view) : view_(view) {
        EXPECT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kPath, 0, nullptr, 0, KEY_SET_VALUE | view_,
                                  nullptr, &key_, nullptr),
                  ERROR_SUCCESS);
    }
    ~GameKey() {
        RegCloseKey(key_);
        RegDeleteKeyExW(HKEY_LOCAL_MACHINE, kPath, view_, 0);
    }
    GameKey(const GameKey&) = delete;
    GameKey& operator=(const GameKey&) = delete;

    void Set(const wchar_t* name, const std::wstring& value) const {
        EXPECT_EQ(
            RegSetValueExW(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))),
            ERROR_SUCCESS);
    }

private:
    static constexpr const wchar_t* kPath = L"SOFTWARE\\Square Soft, Inc.\\Final Fantasy VII";
    REGSAM view_;
    HKEY key_ = nullptr;
};

TEST(WindowsPlatformTest, ReadsTheDataPathOfThe32BitRegistryView) {
    EXPECT_EQ(platform::GameDataFolder(), fs::path());
    {
        const GameKey key(KEY_WOW64_32KEY);
        key.Set(L"AppPath", L"C:\\Games\\FF7\\");
        EXPECT_EQ(platform::GameDataFolder(), fs::path()) << "without DataPath";
        const std::wstring data = L"C:\\Spiele\\\u00dcber FF7\\data\\";
        key.Set(L"DataPath", data);
        EXPECT_EQ(platform::GameDataFolder().wstring(), data);
        key.Set(L"DataPath", std::wstring(600, L'x'));
        EXPECT_EQ(platform::GameDataFolder().wstring(), std::wstring(600, L'x')) << "a long value";
    }
    // The game is a 32-bit program: a key of 64-bit programs is not its own.
    const GameKey key(KEY_WOW64_64KEY);
    key.Set(L"DataPath", L"C:\\Other\\");
    EXPECT_EQ(platform::GameDataFolder(), fs::path());
}

// Saves a shell link to `target` at `link` through the shell's own link object.
void SaveShellLink(const fs::path& target, const fs::path& link) {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    IShellLinkW* shellLink = nullptr;
    ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                           IID_IShellLinkW, reinterpret_cast<void**>(&shellLink))));
    IPersistFile* file = nullptr;
    EXPECT_TRUE(SUCCEEDED(shellLink->SetPath(target.c_str())));
    EXPECT_TRUE(
        SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))));
    if (file != nullptr) {
        EXPECT_TRUE(SUCCEEDED(file->Save(link.c_str(), TRUE)));
        file->Release();
    }
    shellLink->Release();
    CoUninitialize();
}

TEST(WindowsPlatformTest, FollowsLinksThatTheShellSaved) {
    const TemporaryFolder folder("windows_links");
    const fs::path target = folder.Path() / L"Caf\u00e9 FF7" / "flevel.lgp";
    fs::create_directories(target.parent_path());
    std::ofstream(target) << "archive";
    const fs::path link = folder.Path() / "flevel.lnk";
    SaveShellLink(target, link);

    EXPECT_TRUE(platform::IsShortcut(link));
    EXPECT_TRUE(fs::equivalent(platform::ShortcutTarget(link), target))
        << platform::ShortcutTarget(link);
    // The reader of link files that other systems use agrees with the shell.
    std::ifstream in(link, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                          std::istreambuf_iterator<char>()};
    const std::string read = platform::LinkFileTarget(bytes);
    EXPECT_TRUE(fs::equivalent(fs::path(std::u8string(read.begin(), read.end())), target)) << read;

    std::ofstream(folder.Path() / "text.lnk") << "not a link";
    EXPECT_EQ(platform::ShortcutTarget(folder.Path() / "text.lnk"), fs::path());
    EXPECT_EQ(platform::ShortcutTarget(folder.Path() / "missing.lnk"), fs::path());
}

TEST(WindowsPlatformTest, FlushesFilesAndReportsMissingOnes) {
    const TemporaryFolder folder("windows_sync");
    std::ofstream(folder.Path() / "written.bin") << "data";
    EXPECT_NO_THROW(platform::SyncFile((folder.Path() / "written.bin").string()));
    EXPECT_THROW(platform::SyncFile((folder.Path() / "missing.bin").string()), std::system_error);
    EXPECT_NO_THROW(platform::SyncFolder(folder.Path().string()));
}

}  // namespace
