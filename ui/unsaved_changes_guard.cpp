#include "ui/unsaved_changes_guard.h"

#include <utility>

#include <QFileInfo>
#include <QTimer>

#include "ui/archive_session.h"
#include "ui/interface_texts.h"

TUnsavedChangesGuard::TUnsavedChangesGuard(TArchiveSession& session, Ask ask, QObject* parent)
    : QObject(parent), session_(session), ask_(std::move(ask)) {
    connect(&session_, &TArchiveSession::saved, this, [this] {
        std::function<void()> then = std::move(then_);
        then_ = nullptr;
        // After the job has ended, so that what follows may open another archive or close.
        if (then) QTimer::singleShot(0, this, std::move(then));
    });
    connect(&session_, &TArchiveSession::saveFailed, this, [this] { then_ = nullptr; });
    connect(&session_, &TArchiveSession::saveCancelled, this, [this] { then_ = nullptr; });
}

TUnsavedChangesGuard::Outcome TUnsavedChangesGuard::check(std::function<void()> then) {
    if (session_.jobRunning() || !session_.hasUnsavedChanges()) return Outcome::Proceed;
    const QString question = ui::InterfaceText("messages", "save_changes_to")
                                 .arg(QFileInfo(session_.fileName()).fileName());
    switch (ask_(question)) {
        case QMessageBox::Discard: return Outcome::Proceed;
        case QMessageBox::Save:
            then_ = std::move(then);
            session_.save(session_.fileName(), false);
            return Outcome::Saving;
        default: return Outcome::Cancelled;
    }
}
