#include "lgp/archive_loader.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "lgp/field_parser.h"
#include "lgp/level_tables.h"
#include "lzs/decode_stream.h"
#include "platform/utf8_path.h"

namespace lgp {

namespace {

// Hands out sub-file indices to worker threads and tells the caller, in index order, when
// each one is done. The first failure stops the work and is rethrown to the caller.
class LevelWork {
public:
    LevelWork(TLGPFile& archive, DamagedLevels damaged)
        : archive_(archive), damaged_(damaged), done_(archive.SubFiles.size()) {}

    void Work() {
        try {
            const std::unique_ptr<std::istream> file = archive_.OpenAgain();
            for (std::size_t i; (i = next_++) < done_.size() && !failed_;) {
                TLGPSubFile& subFile = *archive_.SubFiles[i];
                if (lgp::IsLevel(subFile)) {
                    const std::vector<std::uint8_t> decoded =
                        lzs::DecodeStream(TLGPFile::ReadStoredData(*file, subFile));
                    if (damaged_ == DamagedLevels::Keep) {
                        ParseFieldFileKeepingDamage(subFile, decoded);
                    } else {
                        ParseFieldFile(subFile, decoded);
                    }
                }
                Finish(i);
            }
        } catch (...) {
            Fail(std::current_exception());
        }
    }

    // Waits for sub-file i; rethrows the first failure.
    void WaitFor(std::size_t i) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return done_[i] || error_; });
        if (error_) std::rethrow_exception(error_);
    }

private:
    void Finish(std::size_t i) {
        {
            std::lock_guard lock(mutex_);
            done_[i] = true;
        }
        changed_.notify_all();
    }

    void Fail(std::exception_ptr error) {
        {
            std::lock_guard lock(mutex_);
            if (!error_) error_ = error;
            failed_ = true;
        }
        changed_.notify_all();
    }

    TLGPFile& archive_;
    const DamagedLevels damaged_;
    std::atomic<std::size_t> next_ = 0;
    std::atomic<bool> failed_ = false;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<bool> done_;
    std::exception_ptr error_;
};

}  // namespace

void LoadLevels(TLGPFile& archive, const LoadProgress& progress, unsigned threads,
                DamagedLevels damaged) {
    const lgp::LevelDescriptions& descriptions = lgp::RuntimeLevelDescriptions();
    for (const auto& subFile : archive.SubFiles) {
        const int index = lgp::LevelIndex(subFile->Name);
        subFile->Description = index >= 0 ? descriptions.Get(index) : "-";
    }
    if (threads == 0) threads = std::max(1u, std::thread::hardware_concurrency());
    threads = static_cast<unsigned>(std::min<std::size_t>(threads, archive.SubFiles.size()));

    LevelWork work(archive, damaged);
    std::vector<std::jthread> workers;
    for (unsigned t = 0; t < threads; ++t) workers.emplace_back([&work] { work.Work(); });
    for (std::size_t i = 0; i < archive.SubFiles.size(); ++i) {
        work.WaitFor(i);
        if (progress) progress(static_cast<int>(i));
    }
}

void LoadArchive(TLGPFile& archive, const std::string& path, const LoadProgress& progress,
                 unsigned threads, DamagedLevels damaged) {
    archive.ReadTableOfContents(path);
    LoadLevels(archive, progress, threads, damaged);
}

}  // namespace lgp
