#include "ui/original_archive_controller.h"

#include <iostream>
#include <utility>

#include <QAction>
#include <QApplication>
#include <QDialog>

#include "jobs/last_comparison.h"
#include "ui/archive_session.h"
#include "ui/main_menu.h"
#include "ui/translation_marks.h"

using Command = TMainMenu::Command;

TOriginalArchiveController::TOriginalArchiveController(TArchiveSession& session, TMainMenu& menu,
                                                       const QString& settingsFile,
                                                       ArchiveChooser chooseOriginal,
                                                       ErrorHook showError, QObject* parent)
    : QObject(parent),
      session_(session),
      menu_(menu),
      remembered_(settingsFile),
      chooseOriginal_(std::move(chooseOriginal)),
      showError_(std::move(showError)) {
    connect(menu_.action(Command::OriginalArchive), &QAction::triggered, this,
            &TOriginalArchiveController::onOriginalClicked);
    connect(&session_, &TArchiveSession::opened, this, [this] {
        menu_.action(Command::OriginalArchive)->setEnabled(true);
        rememberedArchive_.clear();
        waiting_ = remembered_.originalOf(session_.fileName());
        // Once the open has ended: the job that reads it cannot start before.
        QMetaObject::invokeMethod(this, &TOriginalArchiveController::readWaiting,
                                  Qt::QueuedConnection);
    });
    connect(&session_, &TArchiveSession::compared, this, [this] {
        const std::optional<TFilesComparison> last = jobs::LastComparison();
        if (session_.translationMarks().hasOriginal() || !last) return;
        waiting_ = last->referenceFile;
        // After the comparison's result, which is shown once the window is usable again.
        QMetaObject::invokeMethod(this, &TOriginalArchiveController::readWaiting,
                                  Qt::QueuedConnection);
    });
    connect(&session_, &TArchiveSession::originalFailed, this,
            [this](const QString& message, const QString& detail) { showError_(message, detail); });
    connect(&session_.translationMarks(), &TTranslationMarks::originalChanged, this,
            &TOriginalArchiveController::rememberOriginal);
    // "Save as" goes on with the written file, which keeps the original.
    connect(&session_, &TArchiveSession::saved, this,
            &TOriginalArchiveController::rememberOriginal);
}

void TOriginalArchiveController::onOriginalClicked() {
    if (session_.archive() == nullptr || session_.jobRunning()) return;
    const QString original = chooseOriginal_();
    if (original.isEmpty()) return;
    waiting_ = original;
    readWaiting();
}

void TOriginalArchiveController::readWaiting() {
    if (waiting_.isEmpty() || session_.archive() == nullptr) return;
    if (session_.jobRunning()) {
        connect(&session_, &TArchiveSession::jobEnded, this,
                &TOriginalArchiveController::readWaiting,
                static_cast<Qt::ConnectionType>(Qt::QueuedConnection | Qt::SingleShotConnection));
        return;
    }
    // A dialog shown now, such as the comparison's result, would be disabled with the window
    // while the job runs.
    if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
        connect(dialog, &QDialog::finished, this, &TOriginalArchiveController::readWaiting,
                static_cast<Qt::ConnectionType>(Qt::QueuedConnection | Qt::SingleShotConnection));
        return;
    }
    session_.openOriginal(std::exchange(waiting_, QString()));
}

void TOriginalArchiveController::rememberOriginal() {
    const TTranslationMarks& marks = session_.translationMarks();
    const QString archive = session_.fileName();
    if (!marks.hasOriginal() || archive.isEmpty()) return;
    if (archive == rememberedArchive_ && marks.originalPath() == rememberedOriginal_) return;
    rememberedArchive_ = archive;
    rememberedOriginal_ = marks.originalPath();
    if (!remembered_.remember(archive, marks.originalPath())) {
        std::cerr << "orvenne: cannot remember the original archive in settings.ini\n";
    }
}
