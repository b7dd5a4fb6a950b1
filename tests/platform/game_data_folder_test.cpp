#include "platform/game_data_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "platform/wine_prefix.h"
#include "platform/wine_registry.h"
#include "tests/platform/temporary_wine_prefix.h"

namespace {

using platform::GameDataFolderInWinePrefix;
using platform::WineHostPath;
using platform::WineRegistryString;

constexpr const char* kKey = "Software\\Square Soft, Inc.\\Final Fantasy VII";

// A registry file as Wine writes it, with the given lines below a section of kKey.
std::string RegistryFile(const std::string& values) {
    return "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n"
           "[Software\\\\Square Soft, Inc.\\\\Final Fantasy VII] 1700000000\n"
           "#time=1da0cb0a5b5e0e2\n" +
           values + "\n";
}

TEST(WineRegistryTest, ReadsStringValuesAsWineWritesThem) {
    struct Case {
        const char* what;
        std::string file;
        const char* name;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {"backslash and quote escapes", RegistryFile(R"("DataPath"="C:\\FF7 \"2\"\\")"), "DataPath",
         R"(C:\FF7 "2"\)"},
        {"names in any case", RegistryFile(R"("datapath"="x")"), "DATAPATH", "x"},
        {"blanks around =, CRLF", RegistryFile("\"DataPath\" = \"x\"\r"), "DataPath", "x"},
        {"short and four-digit \\x", RegistryFile(R"("V"="Caf\xe9 \x00e9t\xe9")"), "V",
         "Caf\u00e9 \u00e9t\u00e9"},
        {"surrogate pair", RegistryFile(R"("V"="\xd83d\xde00!")"), "V", "\U0001F600!"},
        {"lone surrogate", RegistryFile(R"("V"="\xd83d!")"), "V", "\uFFFD!"},
        {"C and octal escapes", RegistryFile(R"("V"="a\tb\nc\e\1\x")"), "V", "a\tb\nc\x1B\x01x"},
        {"unescaped UTF-8 kept", RegistryFile("\"V\"=\"\u00e9\""), "V", "\u00e9"},
        {"default value", RegistryFile(R"(@="d")"), "", "d"},
        {"the value of the key only",
         RegistryFile(R"("V"="yes")") + "[Software\\\\Square Soft, Inc.\\\\Final Fantasy "
                                        "VII\\\\Sub] 1\n\"W\"=\"no\"\n",
         "W", std::nullopt},
        {"key name in any case",
         "[SOFTWARE\\\\square soft, inc.\\\\FINAL FANTASY VII] 1\n\"V\"=\"x\"\n", "V", "x"},
        {"value before the key", "\"V\"=\"x\"\n" + RegistryFile(""), "V", std::nullopt},
        {"not a plain string",
         RegistryFile("\"A\"=dword:00000001\n\"B\"=str(2):\"%x%\"\n\"C\"=hex:41,00"), "B",
         std::nullopt},
        {"missing value", RegistryFile(R"("V"="x")"), "DataPath", std::nullopt},
        {"unterminated string", RegistryFile(R"("V"="x)"), "V", std::nullopt},
        {"unterminated key", "[Software\\\\Square Soft, Inc.\\\\Final Fantasy VII\n\"V\"=\"x\"",
         "V", std::nullopt},
        {"empty file", "", "V", std::nullopt},
    };
    for (const Case& test : cases) {
        EXPECT_EQ(WineRegistryString(test.file, kKey, test.name), test.expected) << test.what;
    }
    EXPECT_EQ(WineRegistryString("[A\\]B] 1\n\"V\"=\"x\"\n", "A]B", "V"), "x");
}

TEST(WineHostPathTest, MapsDrivePathsIntoThePrefix) {
    const TemporaryWinePrefix prefix("wine_host_path");
    std::filesystem::create_directories(prefix.Root() / "drive_c" / "Games" / "FF7");
    struct Case {
        const char* windowsPath;
        const char* expected;  // below the prefix; nullptr when nothing maps
    };
    const Case cases[] = {
        {"C:\\", "drive_c/"},
        {"C:\\Games\\FF7\\", "drive_c/Games/FF7/"},
        {"c:/GAMES/ff7", "drive_c/Games/FF7"},
        {"C:\\\\Games\\\\FF7", "drive_c/Games/FF7"},
        {"C:\\Games\\New\\Sub\\", "drive_c/Games/New/Sub/"},
        {"E:\\data", "drive_e/data"},
        {"D:\\data", nullptr},
        {"C:", nullptr},
        {"C:data", nullptr},
        {"\\\\server\\share\\data", nullptr},
        {"data\\field", nullptr},
        {"1:\\data", nullptr},
        {"", nullptr},
    };
    for (const Case& test : cases) {
        const std::filesystem::path expected =
            test.expected == nullptr ? std::filesystem::path() : prefix.Root() / test.expected;
        EXPECT_EQ(WineHostPath(prefix.Root(), test.windowsPath), expected) << test.windowsPath;
    }
    EXPECT_EQ(WineHostPath({}, "C:\\"), std::filesystem::path());
}

TEST(GameDataFolderTest, ReadsDataPathFromThePrefixRegistry) {
    const TemporaryWinePrefix prefix("game_data_folder");
    const std::filesystem::path data = prefix.Root() / "drive_c" / "Spiele" / "\u00dcber" / "data";
    std::filesystem::create_directories(data);
    const std::string wow64 =
        "[Software\\\\Wow6432Node\\\\Square Soft, Inc.\\\\Final Fantasy VII]\n";
    struct Case {
        const char* what;
        std::string file;
        std::filesystem::path expected;
    };
    const Case cases[] = {
        {"32-bit prefix", RegistryFile(R"("DataPath"="C:\\Spiele\\\x00dcber\\data\\")"), data / ""},
        {"64-bit prefix, 32-bit view first",
         RegistryFile(R"("DataPath"="C:\\Other\\")") + wow64 +
             R"("DataPath"="c:\\spiele\\\x00dcber\\DATA\\")",
         data / ""},
        {"drive missing", RegistryFile(R"("DataPath"="D:\\FF7\\")"), {}},
        {"value missing", RegistryFile(R"("AppPath"="C:\\FF7\\")"), {}},
    };
    for (const Case& test : cases) {
        std::ofstream(prefix.Root() / "system.reg", std::ios::binary) << test.file;
        EXPECT_EQ(GameDataFolderInWinePrefix(prefix.Root()), test.expected) << test.what;
    }
    std::filesystem::remove(prefix.Root() / "system.reg");
    EXPECT_EQ(GameDataFolderInWinePrefix(prefix.Root()), std::filesystem::path());
}

}  // namespace
