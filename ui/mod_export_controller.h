#pragma once

#include <functional>
#include <optional>

#include <QObject>
#include <QString>

#include "ui/export_mod_form.h"

class QMessageBox;
class QWidget;
class TArchiveSession;
class TMainMenu;

// "Export changes as mod folder..." in the main window: the dialog asks for the original
// archive (the last comparison's original by default), the output folder and the layout, and
// the session exports the open archive's changes as a job; once it has ended, a message says
// how many levels were written where. An export that fails is reported by the session's
// exportFailed, which the window shows.
class TModExportController : public QObject {
    Q_OBJECT

public:
    // Runs the filled dialog with `original` as the default; nothing when the user cancels.
    using RequestChooser = std::function<std::optional<TModExportRequest>(TExportModForm& form,
                                                                          const QString& original)>;
    // Shows the message box that ends an export.
    using MessageRunner = std::function<void(QMessageBox& box)>;

    // The session and the menu must outlive it; window: the dialog's and the message's parent.
    TModExportController(TArchiveSession& session, TMainMenu& menu, RequestChooser chooseRequest,
                         MessageRunner showMessage, QWidget& window);

    // The dialog's captions in the current language.
    void retranslate();

private:
    void onExportClicked();
    void showResult(const QString& folder, const QStringList& levels);

    TArchiveSession& session_;
    TMainMenu& menu_;
    QWidget& window_;
    const RequestChooser chooseRequest_;
    const MessageRunner showMessage_;
    TExportModForm* form_;
};
