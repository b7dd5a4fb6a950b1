#include "jobs/export_mod_job.h"

#include <string>
#include <utility>
#include <vector>

#include "jobs/open_job.h"
#include "jobs/qt_strings.h"
#include "lgp/compress_stream.h"

TExportModThread::TExportModThread(const TLGPFile& current, QString originalPath, QString folder,
                                   lgp::ModLayout layout, lgp::EarlierExport earlier,
                                   QObject* parent)
    : TJob(QStringLiteral("The mod folder could not be written."), false, parent),
      current_(current), originalPath_(std::move(originalPath)), folder_(std::move(folder)),
      layout_(layout), earlier_(earlier) {}

void TExportModThread::Work() {
    TLGPFile original;
    // The original's sub-files count for the first half of the bar, the levels for the second.
    qint64 half = 1;
    jobs::OpenQuietly(original, originalPath_, [this, &half](int current, qint64 count) {
        half = count;
        ReportProgress(current, 2 * count);
    });
    const std::vector<std::string> levels = lgp::ExportModFolder(
        current_, original, jobs::toUtf8(folder_), layout_, lgp::CompressStream,
        [this, half](int done, int total) {
            ReportProgress(static_cast<int>(half - 1 + done * half / total), 2 * half);
        },
        earlier_);
    ReportProgress(static_cast<int>(2 * half - 1), 2 * half);
    QStringList names;
    for (const std::string& level : levels) names << jobs::fromUtf8(level);
    emit exported(names);
}
