#include "jobs/open_job.h"

#include <utility>

#include "lgp/archive_loader.h"

TOpenThread::TOpenThread(TLGPFile& archive, QString path, bool quiet, QObject* parent)
    : TJob(QStringLiteral("Invalid file."), quiet, parent), archive_(archive),
      path_(std::move(path)) {}

void TOpenThread::Work() {
    try {
        // The core takes file names in UTF-8 (platform/utf8_path.h), which toStdString gives.
        LoadArchive(archive_, path_.toStdString(), [this](int current) {
            ReportProgress(current, static_cast<qint64>(archive_.SubFiles.size()));
        });
    } catch (...) {
        archive_ = TLGPFile();
        throw;
    }
}
