#pragma once

#include <QString>

#include "jobs/job.h"
#include "lgp/lgp_file.h"

// The save job: writes the open archive, its changed levels rebuilt, to a target file with
// lgp::SaveArchiveSafely (over the archive's own file, or "Save as..." to another name),
// holding the target's exclusive ArchiveLock from before the check below until the file is in
// place; another program that holds it for longer than lgp::kLockWait fails the job with
// "TARGET is being saved by another program". Progress follows the sub-files in the order of
// writing. Its failure text is "An error occured during file saving." until the language
// loader replaces it.
class TSaveThread : public TJob {
    Q_OBJECT

public:
    // `archive` must outlive the job. adoptTarget: the written file becomes the archive's own
    // ("Save as..."), as saving over the archive's file always does. On failure the target and
    // the archive stay as they were: the archive remains open with its changes pending.
    TSaveThread(TLGPFile& archive, QString target, bool adoptTarget = false,
                QObject* parent = nullptr);

signals:
    // The target is the archive's own file, and another program changed or replaced it since
    // it was opened (or last saved): receivers set *saveOver to write over that change. Left false,
    // the job ends as cancelled with nothing written. Emitted while the lock is held, before the
    // writing and, should the file change again meanwhile, once more before the replacement.
    void changedOnDisk(bool* saveOver);

private:
    void Work() override;

    TLGPFile& archive_;
    const QString target_;
    const bool adoptTarget_;
};
