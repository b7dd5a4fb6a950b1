#pragma once

#include <functional>

#include <QMessageBox>
#include <QObject>

class TArchiveSession;

// Asks before unsaved changes would be lost (opening another archive, closing the window):
// Save, Discard or Cancel. Save runs the save job and goes on with what was asked only once the
// save has succeeded; a failed save goes no further.
class TUnsavedChangesGuard : public QObject {
    Q_OBJECT

public:
    enum class Outcome { Proceed, Cancelled, Saving };
    // The question's dialog: Save, Discard, or anything else for Cancel.
    using Ask = std::function<QMessageBox::StandardButton(const QString& question)>;

    TUnsavedChangesGuard(TArchiveSession& session, Ask ask, QObject* parent = nullptr);

    // Proceed: nothing is unsaved, or the user discards it. Saving: the save job runs, and
    // `then` runs after it has succeeded. Cancelled: nothing happens.
    Outcome check(std::function<void()> then);

private:
    TArchiveSession& session_;
    Ask ask_;
    // What the running save was started for.
    std::function<void()> then_;
};
