#pragma once

#include <QString>

#include "jobs/job.h"
#include "lgp/lgp_file.h"

// The save job: writes the open archive, its changed levels rebuilt, to a target file with
// SaveArchive (over the archive's own file, or "Save as..." to another name). Progress follows
// the sub-files in the order of writing. Its failure text is "An error occured during file
// saving." until the language loader replaces it.
class TSaveThread : public TJob {
    Q_OBJECT

public:
    // `archive` must outlive the job. adoptTarget: the written file becomes the archive's own
    // ("Save as..."), as saving over the archive's file always does. On failure the target and
    // the archive stay as they were: the archive remains open with its changes pending.
    TSaveThread(TLGPFile& archive, QString target, bool adoptTarget = false,
                QObject* parent = nullptr);

private:
    void Work() override;

    TLGPFile& archive_;
    const QString target_;
    const bool adoptTarget_;
};
