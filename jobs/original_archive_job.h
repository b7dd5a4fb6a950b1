#pragma once

#include <memory>

#include <QString>

#include "jobs/job.h"
#include "lgp/lgp_file.h"
#include "translation/archive_review.h"

// The original archive job: reads the archive that the open one was translated from, keeping
// its damaged levels (marked Unreadable: their texts count as not in the original), and
// reviews the open archive against it (translation::ArchiveReview). Progress follows the
// original's sub-files. Its failure text is "Invalid file." until the language loader
// replaces it.
class TOriginalArchiveThread : public TJob {
    Q_OBJECT

public:
    // `current` must outlive the job and stay unchanged while it runs. An original that cannot
    // be read fails the job with the reason as detail.
    TOriginalArchiveThread(const TLGPFile& current, QString path, QObject* parent = nullptr);
    ~TOriginalArchiveThread() override;

    // What the job read, once it has succeeded: the caller takes both, and keeps the original
    // for as long as the review. Null before, after a failure, or once taken.
    std::unique_ptr<TLGPFile> takeOriginal() { return std::move(original_); }
    std::unique_ptr<translation::ArchiveReview> takeReview() { return std::move(review_); }

private:
    void Work() override;

    const TLGPFile& current_;
    const QString path_;
    std::unique_ptr<TLGPFile> original_;
    std::unique_ptr<translation::ArchiveReview> review_;
};
