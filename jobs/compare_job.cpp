#include "jobs/compare_job.h"

#include <stdexcept>
#include <utility>

#include "jobs/last_comparison.h"
#include "jobs/open_job.h"
#include "jobs/qt_strings.h"
#include "lgp/archive_compare.h"

TCompareTextsThread::TCompareTextsThread(TLGPFile& current, QString referencePath, QObject* parent)
    : TJob(QStringLiteral("Invalid file."), false, parent),
      current_(current),
      referencePath_(std::move(referencePath)) {}

void TCompareTextsThread::Work() {
    TLGPFile reference;
    jobs::OpenQuietly(
        reference, referencePath_,
        [this](int current, qint64 count) { ReportProgress(current, count); },
        lgp::DamagedLevels::Keep);
    if (const QStringList damaged = jobs::UnreadableLevels(reference); !damaged.isEmpty()) {
        bool compare = false;
        emit damagedReference(damaged, &compare);
        if (!compare) throw std::runtime_error(jobs::toUtf8(damaged.join(u'\n')));
    }

    const lgp::ArchiveComparison counts = lgp::CompareArchives(current_, reference);
    jobs::StoreLastComparison({jobs::fromUtf8(current_.FileName), referencePath_, counts});
}
