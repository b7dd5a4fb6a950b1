#include "jobs/save_job.h"

#include <filesystem>
#include <optional>
#include <system_error>
#include <utility>

#include "lgp/archive_saver.h"
#include "lgp/compress_stream.h"
#include "platform/archive_lock.h"
#include "platform/utf8_path.h"

namespace {

// True when a file is at `target` and it is the archive's own file (both paths in UTF-8).
bool OverExistingOwnFile(const std::string& target, const std::string& own) {
    const std::filesystem::path a = platform::PathFromUtf8(target);
    const std::filesystem::path b = platform::PathFromUtf8(own);
    std::error_code error;
    if (!std::filesystem::exists(a, error)) return false;
    return a.lexically_normal() == b.lexically_normal() || std::filesystem::equivalent(a, b, error);
}

}  // namespace

TSaveThread::TSaveThread(TLGPFile& archive, QString target, bool adoptTarget, QObject* parent)
    : TJob(QStringLiteral("An error occured during file saving."), false, parent),
      archive_(archive), target_(std::move(target)), adoptTarget_(adoptTarget) {}

void TSaveThread::Work() {
    // The core takes file names in UTF-8 (platform/utf8_path.h), which toStdString gives.
    const std::string target = target_.toStdString();
    std::optional<platform::ArchiveLock> lock;
    try {
        lock.emplace(target, platform::ArchiveLock::Mode::Exclusive, kLockWait);
    } catch (const std::system_error&) {
        // No file to lock yet ("Save as..." a new name); saving reports any other reason.
    }
    // Checked under the lock: a program that saves the file meanwhile has finished by now. A
    // file removed meanwhile holds no change to lose: the save writes it anew.
    if (OverExistingOwnFile(target, archive_.FileName) && archive_.ChangedOnDisk()) {
        bool saveOver = false;
        emit changedOnDisk(&saveOver);
        if (!saveOver) throw JobCancelled();
    }
    const auto count = static_cast<qint64>(archive_.SubFiles.size());
    SaveArchive(archive_, target, CompressStream,
                [this, count](int reached) { ReportProgress(reached, count); },
                {.adoptTarget = adoptTarget_});
}
