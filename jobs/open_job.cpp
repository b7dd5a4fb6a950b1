#include "jobs/open_job.h"

#include <stdexcept>
#include <utility>

#include "jobs/qt_strings.h"
#include "lgp/printable_name.h"

TOpenThread::TOpenThread(TLGPFile& archive, QString path, bool quiet, QObject* parent)
    : TJob(QStringLiteral("Invalid file."), quiet, parent), archive_(archive),
      path_(std::move(path)) {}

void TOpenThread::Work() {
    try {
        lgp::LoadArchive(
            archive_, jobs::toUtf8(path_),
            [this](int current) {
                ReportProgress(current, static_cast<qint64>(archive_.SubFiles.size()));
            },
            0, damaged_);
    } catch (...) {
        archive_ = TLGPFile();
        throw;
    }
}

namespace jobs {

void OpenQuietly(TLGPFile& archive, const QString& path,
                 const std::function<void(int current, qint64 count)>& progress,
                 lgp::DamagedLevels damaged) {
    TOpenThread open(archive, path, true);
    open.SetDamagedLevels(damaged);
    QString failure;
    bool opened = false;
    // Direct: these run on the open's thread, which this one waits for.
    QObject::connect(
        &open, &TJob::progress, &open,
        [&] { progress(open.Current(), static_cast<qint64>(archive.SubFiles.size())); },
        Qt::DirectConnection);
    QObject::connect(
        &open, &TJob::failed, &open,
        [&failure](const QString&, const QString& detail) { failure = detail; },
        Qt::DirectConnection);
    QObject::connect(
        &open, &TJob::finished, &open, [&opened](bool succeeded) { opened = succeeded; },
        Qt::DirectConnection);
    open.RunAndWait();
    if (!opened) throw std::runtime_error(jobs::toUtf8(failure));
}

QStringList UnreadableLevels(const TLGPFile& archive) {
    QStringList levels;
    for (const auto& subFile : archive.SubFiles) {
        if (subFile->Unreadable) {
            levels << jobs::fromUtf8(lgp::PrintableName(subFile->Name) + ": " + subFile->Damage);
        }
    }
    return levels;
}

}  // namespace jobs
