#pragma once

#include <QString>

#include "jobs/job.h"
#include "lgp/lgp_file.h"

// The open job: reads an archive into an empty TLGPFile, naming every sub-file and decoding
// and parsing every level. Progress follows the sub-files in table order. Its failure text is
// "Invalid file." until the language loader replaces it.
class TOpenThread : public TJob {
    Q_OBJECT

public:
    // `archive` must be empty and outlive the job. quiet: for a job that opens an archive for
    // itself; no `started`, and the creator runs it with RunAndWait and frees it.
    TOpenThread(TLGPFile& archive, QString path, bool quiet = false, QObject* parent = nullptr);

private:
    // A failure leaves the archive empty again, its file closed: no half-read archive reaches
    // the caller, whether or not it discards the object.
    void Work() override;

    TLGPFile& archive_;
    const QString path_;
};
