#include "jobs/open_job.h"

#include <utility>

#include <QFile>

#include "lgp/archive_loader.h"

TOpenThread::TOpenThread(TLGPFile& archive, QString path, bool quiet, QObject* parent)
    : TJob(QStringLiteral("Invalid file."), quiet, parent), archive_(archive),
      path_(std::move(path)) {}

void TOpenThread::Work() {
    try {
        LoadArchive(archive_, QFile::encodeName(path_).toStdString(), [this](int current) {
            ReportProgress(current, static_cast<qint64>(archive_.SubFiles.size()));
        });
    } catch (...) {
        archive_ = TLGPFile();
        throw;
    }
}
