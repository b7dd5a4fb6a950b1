#include "platform/steam_library.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "platform/game_data_folder.h"
#include "platform/vdf_node.h"
#include "tests/platform/scoped_variable.h"
#include "tests/temporary_path.h"

namespace {

namespace fs = std::filesystem;
using Paths = std::vector<fs::path>;
using platform::ParseVdf;
using platform::SteamAppInstallFolder;
using platform::SteamLibraryFolders;

TEST(VdfNodeTest, ReadsKeysValuesAndBlocks) {
    const auto nodes = ParseVdf(
        "// written by Steam\n"
        "\"Root\"\n{\n\t\"path\"\t\t\"C:\\\\Program Files (x86)\\\\Steam\"\n"
        "\t\"quote\" \"say \\\"hi\\\"\\n\\tnow\\q\" [$WIN32]\n"
        "\tword value // comment\n\t\"empty\" {}\n}\n");
    ASSERT_TRUE(nodes);
    ASSERT_EQ(nodes->size(), 1u);
    const platform::VdfNode& root = nodes->front();
    EXPECT_TRUE(root.isBlock);
    ASSERT_EQ(root.children.size(), 4u);
    EXPECT_EQ(root.Find("PATH")->value, "C:\\Program Files (x86)\\Steam");
    EXPECT_EQ(root.Find("quote")->value, "say \"hi\"\n\tnow\\q");
    EXPECT_EQ(root.Find("word")->value, "value");
    EXPECT_TRUE(root.Find("empty")->isBlock);
    EXPECT_EQ(root.Find("missing"), nullptr);
    const auto commentOnly = ParseVdf("  \n// only a comment");
    ASSERT_TRUE(commentOnly);
    EXPECT_TRUE(commentOnly->empty());
}

TEST(VdfNodeTest, RefusesMalformedTexts) {
    std::string nested;
    for (int depth = 0; depth < 100000; ++depth) nested += "a{";
    const char* cases[] = {
        "\"a\" \"unterminated", "\"a\" { \"b\" \"c\"", "\"a\"",       "\"a\" { \"b\" }", "}",
        "{ \"a\" \"b\" }",      "\"a\" \"b\" [$WIN32", "\"a\" \"b\\",
    };
    for (const char* text : cases) EXPECT_FALSE(ParseVdf(text)) << text;
    EXPECT_FALSE(ParseVdf(nested)) << "nested 100000 deep";

    std::string thirtyTwo;
    for (int depth = 0; depth < 32; ++depth) thirtyTwo = "a{" + thirtyTwo + "}";
    EXPECT_TRUE(ParseVdf(thirtyTwo));
    EXPECT_FALSE(ParseVdf("a{" + thirtyTwo + "}"));
}

TEST(SteamLibraryTest, ListsTheLibrariesThatMayHoldTheGame) {
    struct Case {
        const char* what;
        const char* file;
        Paths expected;
    };
    const Case cases[] = {
        {"current format",
         R"("libraryfolders"
{
	"contentstatsid"		"-1234"
	"0"
	{
		"path"		"/home/player/.local/share/Steam"
		"label"		""
		"apps"
		{
			"228980"		"1234"
		}
	}
	"1"
	{
		"path"		"/mnt/games/Steam Library"
		"apps"
		{
			"228980"		"1"
			"39140"		"4096"
		}
	}
	"2"
	{
		"path"		"/media/usb/Steam"
	}
})",
         {"/mnt/games/Steam Library", "/media/usb/Steam"}},
        {"older format",
         R"("LibraryFolders"
{
	"TimeNextStatsReport"		"1700000000"
	"ContentStatsID"		"-1234"
	"1"		"/mnt/games/SteamLibrary"
	"2"		"/home/player/Caf)" "\u00e9" R"("
})",
         {"/mnt/games/SteamLibrary", fs::path(u8"/home/player/Caf\u00e9")}},
        {"no library", "\"libraryfolders\" { \"contentstatsid\" \"1\" }", {}},
        {"other root", "\"config\" { \"0\" \"/x\" }", {}},
        {"a path that is a block", "\"libraryfolders\" { \"0\" { \"path\" { } } }", {}},
        {"malformed", "\"libraryfolders\" { \"0\" { \"path\" \"/x\" }", {}},
        {"empty", "", {}},
    };
    for (const Case& test : cases) {
        EXPECT_EQ(SteamLibraryFolders(test.file, "39140"), test.expected) << test.what;
    }
}

TEST(SteamLibraryTest, ReadsTheInstallFolderOfAnAppManifest) {
    const std::pair<const char*, std::optional<std::string>> cases[] = {
        {R"("AppState" { "appid" "39140" "name" "FINAL FANTASY VII" )"
         R"("installdir" "FINAL FANTASY VII" "StateFlags" "4" })",
         "FINAL FANTASY VII"},
        {R"("appstate" { "InstallDir" "ff7" })", "ff7"},
        {R"("AppState" { "installdir" ".." })", std::nullopt},
        {R"("AppState" { "installdir" "../../etc" })", std::nullopt},
        {R"("AppState" { "installdir" "a\\b" })", std::nullopt},
        {R"("AppState" { "installdir" "" })", std::nullopt},
        {R"("AppState" { "installdir" { } })", std::nullopt},
        {R"("AppState" { "name" "x" })", std::nullopt},
        {R"("AppState" { "installdir" "x")", std::nullopt},
    };
    for (const auto& [manifest, expected] : cases) {
        EXPECT_EQ(SteamAppInstallFolder(manifest), expected) << manifest;
    }
}

void Write(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

// A Steam installation with a second library folder, below a temporary folder that also serves
// as the user's home; removed again with the object.
class SteamFolders {
public:
    SteamFolders() : home_(test_support::TemporaryPath("steam_library")) {
        fs::remove_all(home_);
        fs::create_directories(Root() / "steamapps");
        fs::create_directories(Library() / "steamapps");
        fs::create_directories(Home() / ".steam");
        fs::create_directory_symlink(Root(), Home() / ".steam" / "steam");
        Write(Root() / "steamapps" / "libraryfolders.vdf",
              "\"libraryfolders\" { \"0\" { \"path\" \"" + Root().string() +
                  "\" \"apps\" { \"39140\" \"1\" } } \"1\" { \"path\" \"" + Library().string() +
                  "\" \"apps\" { \"39140\" \"1\" } } }");
    }
    ~SteamFolders() { fs::remove_all(home_); }
    SteamFolders(const SteamFolders&) = delete;
    SteamFolders& operator=(const SteamFolders&) = delete;

    fs::path Home() const { return home_; }
    fs::path Root() const { return Home() / ".local" / "share" / "Steam"; }
    fs::path Library() const { return Home() / "games"; }

    // The game installed in `library` with its manifest; returns its data folder.
    fs::path InstallGame(const fs::path& library) const {
        Write(library / "steamapps" / "appmanifest_39140.acf",
              "\"AppState\" { \"appid\" \"39140\" \"installdir\" \"FINAL FANTASY VII\" }");
        const fs::path data = library / "steamapps" / "common" / "FINAL FANTASY VII" / "data";
        fs::create_directories(data / "field");
        return data;
    }

private:
    fs::path home_;
};

TEST(SteamLibraryTest, FindsTheGameInEachLibraryFolder) {
    const SteamFolders steam;
    EXPECT_EQ(platform::GameDataFolderInSteam(steam.Root()), fs::path());
    const fs::path inLibrary = steam.InstallGame(steam.Library());
    EXPECT_EQ(platform::GameDataFolderInSteam(steam.Root()), inLibrary);
    const fs::path inRoot = steam.InstallGame(steam.Root());
    EXPECT_EQ(platform::GameDataFolderInSteam(steam.Root()), inRoot) << "the root first";
    fs::remove_all(inRoot);
    EXPECT_EQ(platform::GameDataFolderInSteam(steam.Root()), inLibrary) << "data removed";
}

TEST(SteamLibraryTest, FindsTheGameThroughItsProtonPrefix) {
    const SteamFolders steam;
    const fs::path prefix = steam.Library() / "steamapps" / "compatdata" / "39140" / "pfx";
    fs::create_directories(prefix / "dosdevices");
    fs::create_directory_symlink("/", prefix / "dosdevices" / "z:");
    const fs::path data = steam.Home() / "FF7" / "data";
    fs::create_directories(data);
    // The registry names the folder on drive Z:, the host's root.
    std::string dataPath = "Z:";
    for (const char c : data.string() + "/") {
        dataPath += c == '/' ? std::string("\\\\") : std::string(1, c);
    }
    Write(prefix / "system.reg",
          "WINE REGISTRY Version 2\n\n"
          "[Software\\\\Wow6432Node\\\\Square Soft, Inc.\\\\Final Fantasy VII] 1700000000\n"
          "\"DataPath\"=\"" +
              dataPath + "\"\n");
    EXPECT_EQ(platform::GameDataFolderInSteam(steam.Root()), data / "");
    // An installed game comes before the prefix.
    const fs::path installed = steam.InstallGame(steam.Library());
    EXPECT_EQ(platform::GameDataFolderInSteam(steam.Root()), installed);
}

TEST(SteamLibraryTest, TheGameDataFolderComesFromWineThenSteam) {
    const SteamFolders steam;
    const ScopedVariable home("HOME", steam.Home().string());
    const ScopedVariable winePrefix("WINEPREFIX", std::nullopt);
    // ~/.steam/steam links to ~/.local/share/Steam: one root.
    EXPECT_EQ(platform::SteamRoots(), Paths{fs::canonical(steam.Root())});
    EXPECT_EQ(platform::GameDataFolder(), fs::path());
    const fs::path inSteam = steam.InstallGame(steam.Library());
    EXPECT_EQ(platform::GameDataFolder(), inSteam);

    // ~/.wine, with the game installed on its drive C:.
    const fs::path wine = steam.Home() / ".wine";
    fs::create_directories(wine / "dosdevices");
    fs::create_directories(wine / "drive_c" / "FF7" / "data");
    fs::create_directory_symlink("../drive_c", wine / "dosdevices" / "c:");
    Write(wine / "system.reg",
          "[Software\\\\Square Soft, Inc.\\\\Final Fantasy VII]\n"
          "\"DataPath\"=\"C:\\\\FF7\\\\data\\\\\"\n");
    EXPECT_EQ(platform::GameDataFolder(), wine / "drive_c" / "FF7" / "data" / "");
    // A recorded folder that is missing does not hide the game in Steam.
    fs::remove_all(wine / "drive_c" / "FF7");
    EXPECT_EQ(platform::GameDataFolder(), inSteam);
}

}  // namespace
