#include "jobs/replace_all_job.h"

#include <atomic>
#include <utility>

namespace {

std::atomic<bool> running = false;

}  // namespace

TReplaceAllThread::TReplaceAllThread(const TLGPFile& archive, std::string search,
                                     std::string replacement, bool matchCase, QObject* parent)
    : TJob(QStringLiteral("The replacement was refused, and no text has been modified."), false,
           parent),
      archive_(archive),
      search_(std::move(search)),
      replacement_(std::move(replacement)),
      matchCase_(matchCase) {
    running = true;
}

TReplaceAllThread::~TReplaceAllThread() { running = false; }

bool TReplaceAllThread::Running() { return running; }

void TReplaceAllThread::Work() {
    const auto count = static_cast<qint64>(archive_.SubFiles.size());
    planned_ = lgp::PlanReplaceAll(archive_, search_, replacement_, matchCase_,
                                   [this, count](int subFile) { ReportProgress(subFile, count); });
}
