#pragma once

#include <chrono>

#include <QString>

#include "jobs/job.h"
#include "lgp/lgp_file.h"

// The save job: writes the open archive, its changed levels rebuilt, to a target file with
// SaveArchive (over the archive's own file, or "Save as..." to another name), holding the
// target's exclusive ArchiveLock from before the check below until the file is in place.
// Progress follows the sub-files in the order of writing. Its failure text is "An error
// occured during file saving." until the language loader replaces it.
class TSaveThread : public TJob {
    Q_OBJECT

public:
    // How long the job waits for another program that holds the target's lock; then it fails
    // with "TARGET is being saved by another program".
    static constexpr std::chrono::milliseconds kLockWait{2000};

    // `archive` must outlive the job. adoptTarget: the written file becomes the archive's own
    // ("Save as..."), as saving over the archive's file always does. On failure the target and
    // the archive stay as they were: the archive remains open with its changes pending.
    TSaveThread(TLGPFile& archive, QString target, bool adoptTarget = false,
                QObject* parent = nullptr);

signals:
    // The target is the archive's own file, and another program changed or replaced it since
    // it was opened (or last saved): receivers set *saveOver to write over that change. Left false,
    // the job ends as cancelled with nothing written. Emitted while the lock is held.
    void changedOnDisk(bool* saveOver);

private:
    void Work() override;

    TLGPFile& archive_;
    const QString target_;
    const bool adoptTarget_;
};
