// The Windows branches of the OS layer, run under Wine: the registry, the shell's links,
// loading a DLL, the program's folder, flushing a file, and what saving an archive relies on
// (locks, exclusive creation, the facts of a file, replacing a file that is open), under names
// beyond the ANSI code page.
#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <system_error>
#include <vector>

#include "platform/archive_lock.h"
#include "platform/dynamic_library.h"
#include "platform/file_facts.h"
#include "platform/file_sync.h"
#include "platform/game_data_folder.h"
#include "platform/link_file.h"
#include "platform/move_into_place.h"
#include "platform/new_file.h"
#include "platform/program_folder.h"
#include "platform/shell_link.h"
#include "platform/utf8_path.h"

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

// A name that the ANSI code page of Western Europe cannot hold.
const wchar_t kArchiveName[] = L"Caf\u00e9 \u4e2d\u6587.lgp";

using Mode = platform::ArchiveLock::Mode;
using namespace std::chrono_literals;

std::string Utf8(const fs::path& path) { return platform::Utf8FromPath(path); }

// The file of that name in the folder, holding `text`.
fs::path ArchiveIn(const TemporaryFolder& folder, const std::string& text) {
    const fs::path path = folder.Path() / kArchiveName;
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

std::string Contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The names in the folder, sorted.
std::vector<std::string> Names(const fs::path& folder) {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        names.push_back(Utf8(entry.path().filename()));
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Writes `text` into a file created for the purpose at path, with the attributes of `model`.
void WriteNewFile(const fs::path& path, const std::string& text,
                  const platform::FileFacts& model = {}) {
    const std::unique_ptr<platform::NewFile> file = platform::NewFile::Create(Utf8(path));
    ASSERT_NE(file, nullptr) << path;
    std::ostream out(file.get());
    out << text << std::flush;
    file->TakeAttributes(model);
    file->Commit();
}

TEST(WindowsPlatformTest, CreatesFilesUnderNamesThatNoFileHad) {
    const TemporaryFolder folder("windows_new_file");
    const fs::path path = folder.Path() / kArchiveName;
    WriteNewFile(path, "data");
    EXPECT_EQ(Contents(path), "data");
    EXPECT_EQ(platform::NewFile::Create(Utf8(path)), nullptr) << "a file of that name exists";
    EXPECT_THROW(platform::NewFile::Create(Utf8(folder.Path() / "missing" / "file.lgp")),
                 std::system_error);
    EXPECT_EQ(platform::ResolveLinks(Utf8(path)), Utf8(path));
    EXPECT_EQ(platform::MountPoint(Utf8(path)), Utf8(path.root_path()));
}

TEST(WindowsPlatformTest, ReadsTheFactsThatSavingRespects) {
    const TemporaryFolder folder("windows_facts");
    const fs::path path = ArchiveIn(folder, "archive");
    std::optional<platform::FileFacts> facts = platform::ReadFileFacts(Utf8(path));
    ASSERT_TRUE(facts);
    EXPECT_EQ(facts->kind, platform::FileFacts::Kind::Regular);
    EXPECT_EQ(facts->identity.size, 7u);
    EXPECT_EQ(facts->links, 1u);
    EXPECT_FALSE(facts->readOnly);
    EXPECT_EQ(facts->attributes, 0u);

    ASSERT_TRUE(
        CreateHardLinkW((folder.Path() / L"other \u00e9.lgp").c_str(), path.c_str(), nullptr));
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    facts = platform::ReadFileFacts(Utf8(path));
    ASSERT_TRUE(facts);
    EXPECT_EQ(facts->links, 2u);
    EXPECT_TRUE(facts->readOnly);
    EXPECT_EQ(facts->mode, 0444u);
    EXPECT_EQ(facts->attributes, static_cast<std::uint32_t>(FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL));

    facts = platform::ReadFileFacts(Utf8(folder.Path()));
    ASSERT_TRUE(facts);
    EXPECT_EQ(facts->kind, platform::FileFacts::Kind::Folder);
    EXPECT_FALSE(platform::ReadFileFacts(Utf8(folder.Path() / "missing.lgp")));
    // A device, also under a name with an extension, is no file to read or replace.
    for (const fs::path& device : {fs::path("NUL"), folder.Path() / "nul.lgp"}) {
        facts = platform::ReadFileFacts(Utf8(device));
        ASSERT_TRUE(facts);
        EXPECT_EQ(facts->kind, platform::FileFacts::Kind::Other);
    }
}

TEST(WindowsPlatformTest, LocksKeepOutWritersButNotReaders) {
    const TemporaryFolder folder("windows_lock");
    const fs::path path = ArchiveIn(folder, "archive");
    const std::string busy = Utf8(path) + " is being saved by another program";
    {
        const platform::ArchiveLock writer(Utf8(path), Mode::Exclusive, 0ms);
        EXPECT_EQ(Contents(path), "archive") << "the locked byte lies past the data";
        try {
            const platform::ArchiveLock second(Utf8(path), Mode::Shared, 50ms);
            ADD_FAILURE() << "a second lock was granted";
        } catch (const platform::LockBusy& error) {
            EXPECT_EQ(error.what(), busy);
        }
    }
    const platform::ArchiveLock reader(Utf8(path), Mode::Shared, 0ms);
    EXPECT_NO_THROW(platform::ArchiveLock(Utf8(path), Mode::Shared, 0ms));
    EXPECT_THROW(platform::ArchiveLock(Utf8(path), Mode::Exclusive, 0ms), platform::LockBusy);
    EXPECT_THROW(platform::ArchiveLock(Utf8(folder.Path() / "missing.lgp"), Mode::Shared, 0ms),
                 std::system_error);
}

TEST(WindowsPlatformTest, ReplacesALockedFileKeepingItsAttributes) {
    const TemporaryFolder folder("windows_replace");
    const fs::path path = ArchiveIn(folder, "old");
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN));
    // A file that is in the way of the first name for the old one.
    std::ofstream(fs::path(path) += ".~old") << "in the way";
    const fs::path written = folder.Path() / L"Caf\u00e9 \u4e2d\u6587.~lgp";
    {
        platform::ArchiveLock lock(Utf8(path), Mode::Exclusive, 0ms);
        const std::optional<platform::FileFacts> old = platform::ReadFileFacts(Utf8(path));
        ASSERT_TRUE(old);
        WriteNewFile(written, "new", *old);
        platform::MoveIntoPlace(Utf8(written), Utf8(path));
        EXPECT_EQ(Contents(path), "new");
        EXPECT_EQ(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_HIDDEN,
                  static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
        // The lock stayed with the old file: the new one is free.
        EXPECT_NO_THROW(platform::ArchiveLock(Utf8(path), Mode::Exclusive, 0ms));
    }
    const std::vector<std::string> left = {Utf8(path.filename()), Utf8(path.filename()) + ".~old"};
    EXPECT_EQ(Names(folder.Path()), left) << "the old file went with its last handle";

    // Into a free name.
    WriteNewFile(written, "first");
    platform::MoveIntoPlace(Utf8(written), Utf8(folder.Path() / L"\u4e2d.lgp"));
    EXPECT_EQ(Contents(folder.Path() / L"\u4e2d.lgp"), "first");
}

TEST(WindowsPlatformTest, ReplacesNoFileThatAProgramHoldsOpenWithoutSharingItsDeletion) {
    const TemporaryFolder folder("windows_replace_open");
    const fs::path path = ArchiveIn(folder, "old");
    const fs::path written = folder.Path() / "written.~lgp";
    WriteNewFile(written, "new");
    // As std::ifstream opens files.
    const HANDLE reader =
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    EXPECT_THROW(platform::MoveIntoPlace(Utf8(written), Utf8(path)), std::system_error);
    CloseHandle(reader);
    EXPECT_EQ(Contents(path), "old");
    const std::vector<std::string> left = {Utf8(path.filename()), "written.~lgp"};
    EXPECT_EQ(Names(folder.Path()), left);
}

}  // namespace
