#pragma once

#include <array>
#include <vector>

#include <QSortFilterProxyModel>

#include "ui/file_list_model.h"

// The file list as the user sees it: only levels when asked, sorted by the column last
// clicked. Values sort by their kSortRole where the model gives one, as numbers when both read
// as numbers ("-" as -1), else by the locale without regard to case. The File column's caption
// carries the number of rows shown while an archive is open: "File (702)".
class TFileListSortModel : public QSortFilterProxyModel {
    Q_OBJECT

public:
    explicit TFileListSortModel(QObject* parent = nullptr);

    bool onlyLevels() const { return onlyLevels_; }
    void setOnlyLevels(bool onlyLevels);

    // A click on a column's header: each column keeps its own direction, ascending on its
    // first click and reversed on every further one. Returns the order now applied.
    Qt::SortOrder columnClicked(int column);

    // Table indices of the rows shown, from top to bottom.
    std::vector<int> displayOrder() const;
    // The row that shows a table index, or -1.
    int rowOf(int tableIndex) const;

    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // Negative, zero or positive: the order of two cell values.
    static int compareValues(const QString& left, const QString& right);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
    bool onlyLevels_ = false;
    // Per column: 0 before its first click, then 1 for ascending and -1 for descending.
    std::array<int, TFileListModel::kColumnCount> directions_{};
};
