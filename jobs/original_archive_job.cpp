#include "jobs/original_archive_job.h"

#include <utility>

#include "jobs/qt_strings.h"
#include "lgp/archive_loader.h"

TOriginalArchiveThread::TOriginalArchiveThread(const TLGPFile& current, QString path,
                                               QObject* parent)
    : TJob(QStringLiteral("Invalid file."), false, parent),
      current_(current),
      path_(std::move(path)) {}

TOriginalArchiveThread::~TOriginalArchiveThread() = default;

void TOriginalArchiveThread::Work() {
    auto original = std::make_unique<TLGPFile>();
    lgp::LoadArchive(
        *original, jobs::toUtf8(path_),
        [this, &original](int current) {
            ReportProgress(current, static_cast<qint64>(original->SubFiles.size()));
        },
        0, lgp::DamagedLevels::Keep);
    // Only its texts and scripts are read from now on: the file is let go, so that it may be
    // saved over, also when it is the open archive's own.
    original->Stream.reset();
    review_ = std::make_unique<translation::ArchiveReview>(current_, *original);
    original_ = std::move(original);
}
