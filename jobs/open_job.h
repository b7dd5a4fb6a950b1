#pragma once

#include <functional>

#include <QString>
#include <QStringList>

#include "jobs/job.h"
#include "lgp/archive_loader.h"
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

    // What the load does with a level that cannot be parsed (Refuse unless set): Keep opens
    // the archive with such levels marked Unreadable. Takes effect for a job not yet started.
    void SetDamagedLevels(lgp::DamagedLevels damaged) { damaged_ = damaged; }

private:
    // A failure leaves the archive empty again, its file closed: no half-read archive reaches
    // the caller, whether or not it discards the object.
    void Work() override;

    TLGPFile& archive_;
    const QString path_;
    lgp::DamagedLevels damaged_ = lgp::DamagedLevels::Refuse;
};

namespace jobs {

// Reads the archive at path into the empty `archive` with a quiet open job on a further thread,
// and waits for it: for a job that needs a second archive. progress(current, count) follows
// the sub-files read, on that further thread; `damaged` says what becomes of a level that
// cannot be parsed. Throws std::runtime_error with the reason when the archive cannot be read,
// leaving `archive` empty.
void OpenQuietly(TLGPFile& archive, const QString& path,
                 const std::function<void(int current, qint64 count)>& progress,
                 lgp::DamagedLevels damaged = lgp::DamagedLevels::Refuse);

// The levels of an archive opened with lgp::DamagedLevels::Keep that could not be read, each as
// "name: reason", in table order.
QStringList UnreadableLevels(const TLGPFile& archive);

}  // namespace jobs
