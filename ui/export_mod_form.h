#pragma once

#include <array>
#include <optional>

#include <QDialog>
#include <QString>
#include <QStringList>

#include "lgp/mod_folder.h"

class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// What "Export changes as mod folder..." writes: the changes against which original archive,
// into which folder, in which layout.
struct TModExportRequest {
    QString original;
    QString folder;
    lgp::ModLayout layout = lgp::ModLayout::Chunks;
};

// The dialog of "Export changes as mod folder...": the original archive and the output folder,
// each typed or browsed for, and the layout (direct, chunks or mod), each with a line saying
// what it is for. It keeps the last choices from one showing to the next.
class TExportModForm : public QDialog {
    Q_OBJECT

public:
    explicit TExportModForm(QWidget* parent = nullptr);

    // Shows the dialog modally, with `original` as the original archive when it is not empty
    // (else the last one chosen). Returns the choices, or nothing when the user cancels. OK is
    // possible once both names are filled in.
    std::optional<TModExportRequest> ask(const QString& original);

protected:
    // Reads every caption again when the interface's language changes.
    void changeEvent(QEvent* event) override;

private:
    // Reads every caption from the interface texts.
    void retranslate();
    void browseOriginal();
    void browseFolder();
    void updateButtons();

    QLabel* originalLabel_;
    QLineEdit* originalField_;
    QPushButton* originalButton_;
    QLabel* folderLabel_;
    QLineEdit* folderField_;
    QPushButton* folderButton_;
    QLabel* layoutLabel_;
    // Direct, Chunks, ModManager, as lgp::ModLayout orders them; each with its explanation.
    std::array<QRadioButton*, 3> layoutButtons_{};
    std::array<QLabel*, 3> layoutHints_{};
    QDialogButtonBox* buttons_;
};

namespace ui {

// The message that ends an export: the number of levels written into folder, or that no level
// differs from the original and nothing was written.
QString ModExportResultText(const QStringList& levels, const QString& folder);

}  // namespace ui
