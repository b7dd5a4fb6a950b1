#include "ui/compare_controller.h"

#include <utility>

#include <QAction>

#include "jobs/last_comparison.h"
#include "ui/archive_session.h"
#include "ui/compare_result_form.h"
#include "ui/main_menu.h"

using Command = TMainMenu::Command;

TCompareController::TCompareController(TArchiveSession& session, TMainMenu& menu,
                                       ReferenceChooser chooseReference, ResultRunner showResult,
                                       QWidget& window)
    : QObject(&window),
      session_(session),
      menu_(menu),
      chooseReference_(std::move(chooseReference)),
      showResult_(std::move(showResult)),
      resultForm_(new TCompareResultForm(&window)) {
    connect(menu_.action(Command::Compare), &QAction::triggered, this,
            &TCompareController::onCompareClicked);
    connect(menu_.action(Command::DisplayLastComparison), &QAction::triggered, this,
            &TCompareController::showLastComparison);
    connect(&session_, &TArchiveSession::opened, this,
            [this] { menu_.action(Command::Compare)->setEnabled(true); });
    connect(&session_, &TArchiveSession::compared, this, [this] {
        menu_.action(Command::DisplayLastComparison)->setEnabled(true);
        // Once the job has ended: the window, the result window's parent, is disabled until then.
        QMetaObject::invokeMethod(this, &TCompareController::showLastComparison,
                                  Qt::QueuedConnection);
    });
    // The last comparison is kept for the program's life, whichever archive is open.
    menu_.action(Command::DisplayLastComparison)->setEnabled(jobs::LastComparison().has_value());
}

void TCompareController::onCompareClicked() {
    if (session_.archive() == nullptr || session_.jobRunning()) return;
    const QString reference = chooseReference_();
    if (!reference.isEmpty()) session_.compare(reference);
}

void TCompareController::showLastComparison() {
    const std::optional<TFilesComparison> last = jobs::LastComparison();
    if (!last) return;
    resultForm_->fill(*last);
    showResult_(*resultForm_);
}
