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
// how many levels were written where. A folder that holds an earlier export is replaced once
// the user agrees; any other folder that is not empty is refused at once, saying why. An export
// that fails is reported by the session's exportFailed, which the window shows.
class TModExportController : public QObject {
    Q_OBJECT

public:
    // Runs the filled dialog with `original` as the default; nothing when the user cancels.
    using RequestChooser = std::function<std::optional<TModExportRequest>(TExportModForm& form,
                                                                          const QString& original)>;
    // Shows the message box that ends an export.
    using MessageRunner = std::function<void(QMessageBox& box)>;
    // Asks a Yes or No question; true for Yes.
    using Question = std::function<bool(const QString& question)>;
    // Shows an error: the message and its detail.
    using ErrorHook = std::function<void(const QString& message, const QString& detail)>;
    struct Prompts {
        RequestChooser chooseRequest;
        MessageRunner showMessage;
        Question ask;
        ErrorHook showError;
    };

    // The session and the menu must outlive it; window: the dialog's and the message's parent.
    TModExportController(TArchiveSession& session, TMainMenu& menu, Prompts prompts,
                         QWidget& window);

private:
    void onExportClicked();
    void showResult(const QString& folder, const QStringList& levels);

    TArchiveSession& session_;
    TMainMenu& menu_;
    QWidget& window_;
    const Prompts prompts_;
    TExportModForm* form_;
};
