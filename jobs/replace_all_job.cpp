#include "jobs/replace_all_job.h"

#include <atomic>
#include <exception>
#include <utility>
#include <vector>

#include <QThread>

#include "lgp/replace_all.h"

namespace {

std::atomic<bool> running = false;

}  // namespace

TReplaceAllThread::TReplaceAllThread(TLGPFile& archive, std::string search, std::string replacement,
                                     bool matchCase, QObject* parent)
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
    const std::vector<TextReplacement> planned =
        PlanReplaceAll(archive_, search_, replacement_, matchCase_,
                       [this, count](int subFile) { ReportProgress(subFile, count); });
    // Reading the texts here is safe while nothing writes them; storing them is not, as the
    // window reads them whenever the user selects a text.
    std::exception_ptr error;
    const auto store = [this, &planned, &error] {
        try {
            ApplyReplacements(archive_, planned);
        } catch (...) {
            error = std::current_exception();
        }
    };
    if (QThread::currentThread() == thread()) {
        store();
    } else {
        QMetaObject::invokeMethod(this, store, Qt::BlockingQueuedConnection);
    }
    if (error) std::rethrow_exception(error);
    for (const TextReplacement& replacement : planned) {
        emit textReplaced(replacement.subFile, replacement.text);
    }
    emit replaced(static_cast<int>(planned.size()));
}
