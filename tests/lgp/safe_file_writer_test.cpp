#include "lgp/safe_file_writer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "lgp/file_error.h"
#include "lgp/format_error.h"
#include "tests/temporary_path.h"

namespace fs = std::filesystem;

namespace {

class SafeFileWriterTest : public testing::Test {
protected:
    void SetUp() override {
        folder_ = test_support::TemporaryPath("safe_writer");
        fs::create_directories(folder_);
        target_ = folder_ / "texts.po";
        Write(target_, "old");
    }
    void TearDown() override {
        fs::permissions(target_, fs::perms::owner_write, fs::perm_options::add);
        fs::remove_all(folder_);
    }

    static void Write(const fs::path& path, const std::string& content) {
        std::ofstream(path, std::ios::binary) << content;
    }
    static std::string Read(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::set<std::string> Names() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder_)) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }
    static std::string WriteNew(const fs::path& path, const lgp::SafeWriteOptions& options = {}) {
        return lgp::WriteFileSafely(
            path.string(), [](std::ostream& out) { out << "new"; }, options);
    }
    // The message of the FileError that writing the path throws.
    static std::string Refusal(const fs::path& path, const lgp::SafeWriteOptions& options = {}) {
        try {
            WriteNew(path, options);
        } catch (const lgp::FileError& error) {
            return error.what();
        }
        return "no error";
    }

    fs::path folder_;
    fs::path target_;
};

TEST_F(SafeFileWriterTest, ReplacesTheFileALinkNamesAndKeepsItsPermissions) {
    fs::permissions(target_,
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const fs::path link = folder_ / "link.po";
    fs::create_symlink("texts.po", link);
    EXPECT_EQ(WriteNew(link), target_.string());
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(Read(target_), "new");
    EXPECT_EQ(fs::status(target_).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(Names(), (std::set<std::string>{"link.po", "texts.po"}));
}

TEST_F(SafeFileWriterTest, RefusesWhatItMustNotReplace) {
    EXPECT_EQ(Refusal(folder_), folder_.string() + " is a folder");
    EXPECT_EQ(Refusal("/dev/null"), "/dev/null is not a regular file");
    const fs::path other = folder_ / "other.po";
    fs::create_hard_link(target_, other);
    EXPECT_EQ(Refusal(target_), target_.string() +
                                    " has 2 hard links; a new file in its place would leave the "
                                    "other names with the old data");
    WriteNew(target_, {.breakLinks = true, .beforeReplace = {}});
    EXPECT_EQ(Read(other), "old");
    fs::permissions(target_,
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    EXPECT_EQ(Refusal(target_), target_.string() + " is read-only");
    EXPECT_EQ(Read(target_), "new");
    EXPECT_EQ(Names(), (std::set<std::string>{"other.po", "texts.po"}));
}

TEST_F(SafeFileWriterTest, AFailedWriteLeavesTheTargetAndRemovesItsTemporaryFile) {
    // A name that another program holds is left alone: the next one is taken.
    Write(folder_ / "texts.~po", "someone else's");
    bool sawSecondName = false;
    EXPECT_THROW(lgp::WriteFileSafely(target_.string(),
                                      [&](std::ostream& out) {
                                          out << "partial";
                                          sawSecondName = fs::exists(folder_ / "texts.~~po");
                                          throw lgp::FormatError("refused midway");
                                      }),
                 lgp::FormatError);
    EXPECT_TRUE(sawSecondName);
    EXPECT_EQ(Read(target_), "old");
    EXPECT_EQ(Read(folder_ / "texts.~po"), "someone else's");
    EXPECT_EQ(Names(), (std::set<std::string>{"texts.~po", "texts.po"}));
}

TEST_F(SafeFileWriterTest, AnInterruptRemovesTheTemporaryFile) {
    for (const int signal : {SIGTERM, SIGINT}) {
        // A program started in the background of a script ignores Ctrl-C, and keeps doing so.
        struct sigaction current {};
        sigaction(signal, nullptr, &current);
        if (current.sa_handler == SIG_IGN) continue;
        // The process ends by the signal, as it would have without the clean-up. The child
        // that the check forks shares the folder.
        EXPECT_EXIT(lgp::WriteFileSafely(target_.string(),
                                         [&](std::ostream& out) {
                                             out << "partial";
                                             out.flush();
                                             std::raise(signal);
                                         }),
                    testing::KilledBySignal(signal), "");
        EXPECT_EQ(Read(target_), "old");
        EXPECT_EQ(Names(), (std::set<std::string>{"texts.po"}));
    }
}

}  // namespace
