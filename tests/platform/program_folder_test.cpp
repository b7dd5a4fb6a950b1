#include "platform/program_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "tests/platform/scoped_variable.h"

namespace {

using Paths = std::vector<std::filesystem::path>;

TEST(ProgramFolderTest, IsTheFolderOfThisTestProgram) {
    const std::filesystem::path folder = platform::ProgramFolder();
    EXPECT_TRUE(folder.is_absolute()) << folder;
    EXPECT_TRUE(std::filesystem::equivalent(folder, TEST_FOLDER)) << folder;
}

TEST(ProgramFolderTest, TheUsersDataFolderFollowsTheDesktopsRules) {
    struct Case {
        std::optional<std::string> dataHome;
        std::optional<std::string> home;
        std::optional<std::filesystem::path> expected;  // the user's folder, if any
    };
    const Case cases[] = {
        {"/data/home", "/home/user", "/data/home/orvenne"},
        {std::nullopt, "/home/user", "/home/user/.local/share/orvenne"},
        {"", "/home/user", "/home/user/.local/share/orvenne"},
        {"relative/data", "/home/user", "/home/user/.local/share/orvenne"},
        {"/data/home", std::nullopt, "/data/home/orvenne"},
        {std::nullopt, std::nullopt, std::nullopt},
        {std::nullopt, "", std::nullopt},
    };
    for (const Case& test : cases) {
        const ScopedVariable dataHome("XDG_DATA_HOME", test.dataHome);
        const ScopedVariable home("HOME", test.home);
        // The program's folder, the installation's data folder, then the user's.
        const Paths folders = platform::DataFolders();
        ASSERT_EQ(folders.size(), test.expected ? 3u : 2u);
        EXPECT_EQ(folders[0], platform::ProgramFolder());
        EXPECT_EQ(folders[1].filename(), "orvenne");
        if (test.expected) {
            EXPECT_EQ(folders[2], *test.expected)
                << test.dataHome.value_or("(unset)") << ", " << test.home.value_or("(unset)");
        }
    }
}

}  // namespace
