#include "platform/program_version.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>

namespace {

// The header is generated at configure time: this checks the template's substitutions.
TEST(ProgramVersionTest, ComesFromTheProject) {
    EXPECT_EQ(platform::kProgramName, "Orvenne");
    EXPECT_TRUE(
        std::regex_match(std::string(platform::kProgramVersion), std::regex(R"(\d+\.\d+\.\d+)")))
        << platform::kProgramVersion;
    EXPECT_EQ(platform::kProgramTitle,
              std::string(platform::kProgramName) + " " + std::string(platform::kProgramVersion));
}

}  // namespace
