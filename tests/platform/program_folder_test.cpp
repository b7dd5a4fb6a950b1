#include "platform/program_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace {

using Paths = std::vector<std::filesystem::path>;

TEST(ProgramFolderTest, IsTheFolderOfThisTestProgram) {
    const std::filesystem::path folder = platform::ProgramFolder();
    EXPECT_TRUE(folder.is_absolute()) << folder;
    EXPECT_TRUE(std::filesystem::equivalent(folder, TEST_FOLDER)) << folder;
}

// Sets or (for nothing) unsets an environment variable for the life of the object.
class ScopedVariable {
public:
    ScopedVariable(const char* name, std::optional<std::string> value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        Set(value);
    }
    ~ScopedVariable() { Set(old_); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    void Set(const std::optional<std::string>& value) const {
        if (value) {
            setenv(name_, value->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }

    const char* name_;
    std::optional<std::string> old_;
};

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
