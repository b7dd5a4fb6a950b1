#pragma once

#include <functional>

#include <QObject>
#include <QString>

#include "ui/original_archives.h"

class TArchiveSession;
class TMainMenu;

// The original archive in the main window: File > "Original archive..." chooses the archive
// that the open one was translated from, and the session reads it as a job (the window
// unusable meanwhile). settings.ini remembers it for the open archive (and for the file saved
// as), which takes it again each time it is opened; while no original is set, the archive of
// a comparison becomes the original too. An original is read only once the window is usable
// and no dialog is up; one that cannot be read is shown through the error hook.
class TOriginalArchiveController : public QObject {
    Q_OBJECT

public:
    // The original's file, or empty when the user cancels.
    using ArchiveChooser = std::function<QString()>;
    // Shows an error: the interface text and its detail (the file and the reason).
    using ErrorHook = std::function<void(const QString& message, const QString& detail)>;

    // The session and the menu must outlive it.
    TOriginalArchiveController(TArchiveSession& session, TMainMenu& menu,
                               const QString& settingsFile, ArchiveChooser chooseOriginal,
                               ErrorHook showError, QObject* parent = nullptr);

private:
    void onOriginalClicked();
    // Reads the original waiting to be read, once nothing stands in the way.
    void readWaiting();
    void rememberOriginal();

    TArchiveSession& session_;
    TMainMenu& menu_;
    const TOriginalArchives remembered_;
    const ArchiveChooser chooseOriginal_;
    const ErrorHook showError_;
    // The original to read once the window is usable; empty when none waits.
    QString waiting_;
    // The archive and original last remembered, so that an unchanged pair is not written
    // again.
    QString rememberedArchive_;
    QString rememberedOriginal_;
};
