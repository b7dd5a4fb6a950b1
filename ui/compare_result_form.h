#pragma once

#include <optional>

#include <QDialog>

#include "jobs/last_comparison.h"

class QLabel;
class QPushButton;
class QTreeWidget;

// The comparison result window ("Files comparison"), shown modally: both file names, and for
// texts, windowed texts and windows the counts of the original (reference) and the current
// archive, the differences and their share of the current count.
class TCompareResultForm : public QDialog {
    Q_OBJECT

public:
    explicit TCompareResultForm(QWidget* parent = nullptr);

    // Fills the labels and the three rows from a comparison; call it before each show.
    void fill(const TFilesComparison& comparison);

protected:
    // Reads every caption again when the interface's language changes.
    void changeEvent(QEvent* event) override;

private:
    // Reads every caption from the interface texts.
    void retranslate();
    QLabel* currentFileLabel_;
    QLabel* originalFileLabel_;
    QTreeWidget* resultView_;
    QPushButton* okButton_;
    std::optional<TFilesComparison> shown_;
};
