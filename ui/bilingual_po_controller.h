#pragma once

#include <functional>

#include <QObject>
#include <QString>

class QMessageBox;
class QWidget;
class TArchiveSession;
class TMainMenu;

// The PO file for translation tools in the main window, as orvenne-cli writes and reads it with
// --original: File > "Export PO with original..." writes every text of the open archive (its
// unsaved changes included) with the original's text as msgid and the translation as msgstr;
// "Import PO with original..." applies each translated entry whose msgid is still the
// original's text to the open archive's texts, as unsaved changes, and says how many texts
// changed and which entries were left out (the original's text changed, or the level is
// read-only). A file that cannot be written or read is shown through the error hook, and
// nothing changes. Enabled while an original is set.
class TBilingualPoController : public QObject {
    Q_OBJECT

public:
    // The PO file to write (forSaving) or to read, or empty when the user cancels.
    using FileChooser =
        std::function<QString(const QString& folder, const QString& filter, bool forSaving)>;
    // Shows an error: the interface text and its detail (the file and the reason).
    using ErrorHook = std::function<void(const QString& message, const QString& detail)>;
    // Shows the message box that ends an import.
    using MessageRunner = std::function<void(QMessageBox& box)>;

    // The session and the menu must outlive it; window: the message's parent.
    TBilingualPoController(TArchiveSession& session, TMainMenu& menu, FileChooser chooseFile,
                           ErrorHook showError, MessageRunner showMessage, QWidget& window);

private:
    void exportPo();
    void importPo();
    void updateCommands();
    // The file dialogs' folder and filter.
    QString folder() const;
    static QString filter();

    TArchiveSession& session_;
    TMainMenu& menu_;
    QWidget& window_;
    const FileChooser chooseFile_;
    const ErrorHook showError_;
    const MessageRunner showMessage_;
};
