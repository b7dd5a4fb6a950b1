#pragma once

#include <string>

#include "jobs/job.h"
#include "lgp/lgp_file.h"

// The replace-all job: replaces every occurrence of a tagged text in the texts of all levels,
// in table order (PlanReplaceAll), all or nothing. Progress follows the sub-files. The texts
// are read on the job's thread and stored on the thread the job belongs to, where the window
// reads them; while the job runs, nothing else may change a text. Its failure text is "The
// replacement was refused, and no text has been modified." until the language loader
// replaces it; the detail names the level and text and the reason.
class TReplaceAllThread : public TJob {
    Q_OBJECT

public:
    // One at a time: construct it only while Running() is false. `archive` must outlive the
    // job. Run it with StartDetached: the texts are stored through this thread's event loop.
    TReplaceAllThread(TLGPFile& archive, std::string search, std::string replacement,
                      bool matchCase, QObject* parent = nullptr);
    ~TReplaceAllThread() override;

    // True from the construction of a replace-all job until its destruction.
    static bool Running();

signals:
    // After the texts are stored: one per changed text, in table order.
    void textReplaced(int subFile, int text);
    // The number of texts changed; the last report before `finished`.
    void replaced(int count);

private:
    void Work() override;

    TLGPFile& archive_;
    const std::string search_;
    const std::string replacement_;
    const bool matchCase_;
};
