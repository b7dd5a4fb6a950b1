#include "platform/program_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

TEST(ProgramFolderTest, IsTheFolderOfThisTestProgram) {
    const std::filesystem::path folder = platform::ProgramFolder();
    EXPECT_TRUE(folder.is_absolute()) << folder;
    EXPECT_TRUE(std::filesystem::equivalent(folder, TEST_FOLDER)) << folder;
}

}  // namespace
