#include "platform/archive_lock.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <system_error>
#include <thread>

#include "tests/temporary_path.h"

namespace fs = std::filesystem;
using platform::ArchiveLock;
using Mode = platform::ArchiveLock::Mode;
using namespace std::chrono_literals;

namespace {

class ArchiveLockTest : public testing::Test {
protected:
    void SetUp() override { std::ofstream(path_) << "archive"; }
    void TearDown() override { fs::remove(path_); }

    // The message of the LockBusy that a lock in `mode` meets at once, or "granted".
    std::string Attempt(Mode mode) const {
        try {
            ArchiveLock lock(path_.string(), mode, 0ms);
        } catch (const platform::LockBusy& busy) {
            return busy.what();
        }
        return "granted";
    }

    const fs::path path_ = test_support::TemporaryPath("locked.lgp");
};

TEST_F(ArchiveLockTest, AWriterExcludesEveryoneAndReadersOnlyWriters) {
    const std::string busy = path_.string() + " is being saved by another program";
    {
        ArchiveLock writer(path_.string(), Mode::Exclusive, 0ms);
        EXPECT_EQ(Attempt(Mode::Exclusive), busy);
        EXPECT_EQ(Attempt(Mode::Shared), busy);
    }
    ArchiveLock reader(path_.string(), Mode::Shared, 0ms);
    EXPECT_EQ(Attempt(Mode::Shared), "granted");
    EXPECT_EQ(Attempt(Mode::Exclusive), busy);
    ArchiveLock moved = std::move(reader);
    EXPECT_EQ(Attempt(Mode::Exclusive), busy);
    moved.Release();
    EXPECT_EQ(Attempt(Mode::Exclusive), "granted");
    EXPECT_THROW(ArchiveLock((path_.string() + ".missing"), Mode::Shared, 0ms), std::system_error);
}

// How many of this process's open files are the file at path (Linux: /proc/self/fd).
int OpenHandlesOn(const fs::path& path) {
    const fs::path file = fs::canonical(path);
    int count = 0;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator("/proc/self/fd", error)) {
        std::error_code gone;
        count += fs::read_symlink(entry.path(), gone) == file;
    }
    return count;
}

TEST_F(ArchiveLockTest, AWaitingWriterLocksTheFileThatReplacedTheLockedOne) {
    ArchiveLock first(path_.string(), Mode::Exclusive, 0ms);
    std::thread saver([&] {
        // Once the second writer has the old file open and waits for its lock.
        const auto deadline = std::chrono::steady_clock::now() + 10s;
        while (OpenHandlesOn(path_) < 2 && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::yield();
        }
        const fs::path written = path_.string() + ".new";
        std::ofstream(written) << "saved";
        fs::rename(written, path_);
        first.Release();
    });
    ArchiveLock second(path_.string(), Mode::Exclusive, 15s);
    saver.join();
    // Held on the new file: a third writer, which opens that file, is kept out.
    EXPECT_NE(Attempt(Mode::Exclusive), "granted");
}

}  // namespace
