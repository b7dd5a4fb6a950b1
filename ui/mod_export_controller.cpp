#include "ui/mod_export_controller.h"

#include <utility>

#include <QAction>
#include <QMessageBox>

#include "jobs/last_comparison.h"
#include "ui/archive_session.h"
#include "ui/main_menu.h"

using Command = TMainMenu::Command;

TModExportController::TModExportController(TArchiveSession& session, TMainMenu& menu,
                                           RequestChooser chooseRequest, MessageRunner showMessage,
                                           QWidget& window)
    : QObject(&window),
      session_(session),
      menu_(menu),
      window_(window),
      chooseRequest_(std::move(chooseRequest)),
      showMessage_(std::move(showMessage)),
      form_(new TExportModForm(&window)) {
    connect(menu_.action(Command::ExportModFolder), &QAction::triggered, this,
            &TModExportController::onExportClicked);
    connect(&session_, &TArchiveSession::opened, this,
            [this] { menu_.action(Command::ExportModFolder)->setEnabled(true); });
    connect(&session_, &TArchiveSession::modFolderExported, this,
            [this](const QString& folder, const QStringList& levels) {
                // Once the job has ended: the window, the message's parent, is disabled until then.
                QMetaObject::invokeMethod(
                    this, [this, folder, levels] { showResult(folder, levels); },
                    Qt::QueuedConnection);
            });
}

void TModExportController::retranslate() { form_->retranslate(); }

void TModExportController::onExportClicked() {
    if (session_.archive() == nullptr || session_.jobRunning()) return;
    const std::optional<TFilesComparison> last = LastComparison();
    const std::optional<TModExportRequest> request =
        chooseRequest_(*form_, last ? last->referenceFile : QString());
    if (request) session_.exportModFolder(request->original, request->folder, request->layout);
}

void TModExportController::showResult(const QString& folder, const QStringList& levels) {
    QMessageBox box(QMessageBox::Information, window_.windowTitle(),
                    ModExportResultText(levels, folder), QMessageBox::Ok, &window_);
    showMessage_(box);
}
