#include "jobs/compare_job.h"

#include <stdexcept>
#include <utility>

#include <QFile>

#include "jobs/last_comparison.h"
#include "jobs/open_job.h"
#include "lgp/archive_compare.h"

TCompareTextsThread::TCompareTextsThread(TLGPFile& current, QString referencePath, QObject* parent)
    : TJob(QStringLiteral("Invalid file."), false, parent),
      current_(current),
      referencePath_(std::move(referencePath)) {}

void TCompareTextsThread::Work() {
    TLGPFile reference;
    TOpenThread open(reference, referencePath_, true);
    QString failure;
    bool opened = false;
    // Direct: these run on the open's thread, which this one waits for.
    connect(
        &open, &TJob::progress, this, [this](int percent) { emit progress(percent); },
        Qt::DirectConnection);
    connect(
        &open, &TJob::failed, this,
        [&failure](const QString&, const QString& detail) { failure = detail; },
        Qt::DirectConnection);
    connect(
        &open, &TJob::finished, this, [&opened](bool succeeded) { opened = succeeded; },
        Qt::DirectConnection);
    open.RunAndWait();
    if (!opened) throw std::runtime_error(failure.toLocal8Bit().toStdString());

    const ArchiveComparison counts = CompareArchives(current_, reference);
    StoreLastComparison({QFile::decodeName(current_.FileName.c_str()), referencePath_, counts});
}
