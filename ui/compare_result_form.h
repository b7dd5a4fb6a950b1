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
    // Re-reads every caption from InterfaceText, and fills the rows again in the new words.
    void retranslate();

private:
    QLabel* currentFileLabel_;
    QLabel* originalFileLabel_;
    QTreeWidget* resultView_;
    QPushButton* okButton_;
    std::optional<TFilesComparison> shown_;
};
