#pragma once

#include <QString>

#include "jobs/job.h"
#include "lgp/lgp_file.h"

// The compare job: reads the reference archive with a quiet open job on a further thread,
// compares the current archive with it (lgp::CompareArchives: counts, and marks on the differing
// texts) and stores the result as jobs::LastComparison. Progress is the open's. Its failure text is
// "Invalid file." until the language loader replaces it.
class TCompareTextsThread : public TJob {
    Q_OBJECT

public:
    // `current` must outlive the job and stay unchanged while it runs. A reference file that
    // cannot be read fails the job with the reason as detail: no comparison is stored and no
    // text is marked. A reference with levels that cannot be parsed is compared without them
    // once `damagedReference` has been answered yes, and fails with them listed as detail
    // otherwise.
    TCompareTextsThread(TLGPFile& current, QString referencePath, QObject* parent = nullptr);

signals:
    // The reference's levels that cannot be parsed, each as "name: reason": the receiver sets
    // *compare to true to compare without them. Connect it with Qt::BlockingQueuedConnection;
    // unanswered, the comparison is given up.
    void damagedReference(const QStringList& levels, bool* compare);

private:
    void Work() override;

    TLGPFile& current_;
    const QString referencePath_;
};
