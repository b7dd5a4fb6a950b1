#pragma once

#include <QString>
#include <QStringList>

#include "jobs/job.h"
#include "lgp/lgp_file.h"
#include "lgp/mod_folder.h"

// The mod folder job: reads the original archive with a quiet open job, then writes the levels
// of the current archive whose texts or windows differ from it, unsaved changes included, into
// a mod folder (lgp::ExportModFolder, compressing with lgp::CompressStream). Progress follows the
// original's sub-files for the first half and the levels exported for the second. Its failure
// text is "The mod folder could not be written." until the language loader replaces it.
class TExportModThread : public TJob {
    Q_OBJECT

public:
    // `current` must outlive the job and stay unchanged while it runs. `folder` must be missing
    // or empty, or with lgp::EarlierExport::Replace hold an earlier export, which the new one
    // replaces. A failure (an original that cannot be read, a level that cannot be exported, a
    // file that cannot be written) leaves no file in the folder and gives the reason as detail.
    TExportModThread(const TLGPFile& current, QString originalPath, QString folder,
                     lgp::ModLayout layout, lgp::EarlierExport earlier = lgp::EarlierExport::Refuse,
                     QObject* parent = nullptr);

signals:
    // The names of the levels written, in table order; none when no level differs. The last
    // report before `finished`.
    void exported(const QStringList& levels);

private:
    void Work() override;

    const TLGPFile& current_;
    const QString originalPath_;
    const QString folder_;
    const lgp::ModLayout layout_;
    const lgp::EarlierExport earlier_;
};
