#pragma once

#include <string>
#include <vector>

#include "jobs/job.h"
#include "lgp/lgp_file.h"
#include "lgp/replace_all.h"

// The replace-all job: works out on its thread the replacement of every occurrence of a tagged
// text in the texts of all levels, in table order (lgp::PlanReplaceAll), all or nothing, and leaves
// the archive as it is: whoever started it stores the planned texts, once the user has agreed.
// Progress follows the sub-files. While the job runs, nothing may change a text. Its failure
// text is "The replacement was refused, and no text has been modified." until the language
// loader replaces it; the detail names the level and text and the reason.
class TReplaceAllThread : public TJob {
    Q_OBJECT

public:
    // One at a time: construct it only while Running() is false. `archive` must outlive the
    // job.
    TReplaceAllThread(const TLGPFile& archive, std::string search, std::string replacement,
                      bool matchCase, QObject* parent = nullptr);
    ~TReplaceAllThread() override;

    // True from the construction of a replace-all job until its destruction.
    static bool Running();

    // The texts to change, in table order, once the job has succeeded; empty before. Read it
    // while `finished` is handled.
    const std::vector<lgp::TextReplacement>& Planned() const { return planned_; }

private:
    void Work() override;

    const TLGPFile& archive_;
    const std::string search_;
    const std::string replacement_;
    const bool matchCase_;
    std::vector<lgp::TextReplacement> planned_;
};
