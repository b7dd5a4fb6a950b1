#pragma once

#include <QString>
#include <QTreeWidgetItem>

class TLGPSubFile;

// A row of the main window's file list: one sub-file of the open archive, with the columns
// "#" (1-based table-of-contents index), File, Description and Texts. Rows sort by the column
// that the list's sort indicator names, numerically where both values are numbers.
class TFileListItem : public QTreeWidgetItem {
public:
    // The row's cells are filled from subFile, which must outlive the row.
    TFileListItem(int tableIndex, TLGPSubFile& subFile);

    TLGPSubFile& SubFile() const { return subFile_; }
    // Rewrites the Description cell from the sub-file.
    void UpdateDescription();

    // Orders by the sort column: both values as numbers when both read as numbers ("-" as -1),
    // else the locale's case-insensitive comparison of the texts.
    bool operator<(const QTreeWidgetItem& other) const override;

    // The comparison behind operator<: negative, zero or positive.
    static int CompareValues(const QString& left, const QString& right);

private:
    TLGPSubFile& subFile_;
};
