#include "ui/mod_export_controller.h"

#include <utility>

#include <QAction>
#include <QMessageBox>

#include "jobs/last_comparison.h"
#include "jobs/qt_strings.h"
#include "lgp/mod_folder.h"
#include "ui/archive_session.h"
#include "ui/interface_texts.h"
#include "ui/main_menu.h"

using Command = TMainMenu::Command;

TModExportController::TModExportController(TArchiveSession& session, TMainMenu& menu,
                                           Prompts prompts, QWidget& window)
    : QObject(&window),
      session_(session),
      menu_(menu),
      window_(window),
      prompts_(std::move(prompts)),
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

void TModExportController::onExportClicked() {
    if (session_.archive() == nullptr || session_.jobRunning()) return;
    const std::optional<TFilesComparison> last = jobs::LastComparison();
    const std::optional<TModExportRequest> request =
        prompts_.chooseRequest(*form_, last ? last->referenceFile : QString());
    if (!request) return;
    lgp::EarlierExport earlier = lgp::EarlierExport::Refuse;
    switch (lgp::InspectModFolder(jobs::toUtf8(request->folder))) {
        case lgp::ModFolderContents::Nothing:
            break;
        case lgp::ModFolderContents::EarlierExport:
            if (!prompts_.ask(
                    ui::InterfaceText("messages", "replace_mod_export").arg(request->folder))) {
                return;
            }
            earlier = lgp::EarlierExport::Replace;
            break;
        case lgp::ModFolderContents::Other:
            prompts_.showError(
                ui::InterfaceText("messages", "mod_folder_failure"),
                ui::InterfaceText("messages", "mod_folder_not_empty").arg(request->folder));
            return;
    }
    session_.exportModFolder(request->original, request->folder, request->layout, earlier);
}

void TModExportController::showResult(const QString& folder, const QStringList& levels) {
    QMessageBox box(QMessageBox::Information, window_.windowTitle(),
                    ui::ModExportResultText(levels, folder), QMessageBox::Ok, &window_);
    prompts_.showMessage(box);
}
