#include "jobs/save_job.h"

#include <utility>

#include "jobs/qt_strings.h"
#include "lgp/archive_saver.h"
#include "lgp/compress_stream.h"

TSaveThread::TSaveThread(TLGPFile& archive, QString target, bool adoptTarget, QObject* parent)
    : TJob(QStringLiteral("An error occured during file saving."), false, parent),
      archive_(archive), target_(std::move(target)), adoptTarget_(adoptTarget) {}

void TSaveThread::Work() {
    const auto count = static_cast<qint64>(archive_.SubFiles.size());
    const bool saved = lgp::SaveArchiveSafely(
        archive_, jobs::toUtf8(target_),
        {.compress = lgp::CompressStream,
         .progress = [this, count](int reached) { ReportProgress(reached, count); },
         .options = {.breakLinks = false, .adoptTarget = adoptTarget_, .beforeReplace = {}},
         .saveOverChange =
             [this] {
                 bool saveOver = false;
                 emit changedOnDisk(&saveOver);
                 return saveOver;
             },
         .targetLocked = false});
    if (!saved) throw jobs::JobCancelled();
}
