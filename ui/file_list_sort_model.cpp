#include "ui/file_list_sort_model.h"

#include <optional>

#include <QCollator>

#include "ui/file_list_model.h"

namespace {

std::optional<double> NumericValue(const QString& value) {
    if (value == QStringLiteral("-")) return -1.0;
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (!ok) return std::nullopt;
    return number;
}

}  // namespace

TFileListSortModel::TFileListSortModel(QObject* parent) : QSortFilterProxyModel(parent) {
    // Rows keep their place while the user edits; only a click on a header sorts them.
    setDynamicSortFilter(false);
}

void TFileListSortModel::setOnlyLevels(bool onlyLevels) {
    if (onlyLevels == onlyLevels_) return;
    onlyLevels_ = onlyLevels;
    invalidateFilter();
    emit headerDataChanged(Qt::Horizontal, TFileListModel::kFileColumn, TFileListModel::kFileColumn);
}

Qt::SortOrder TFileListSortModel::columnClicked(int column) {
    int& direction = directions_.at(static_cast<std::size_t>(column));
    direction = direction == 0 ? 1 : -direction;
    const Qt::SortOrder order = direction > 0 ? Qt::AscendingOrder : Qt::DescendingOrder;
    sort(column, order);
    return order;
}

std::vector<int> TFileListSortModel::displayOrder() const {
    std::vector<int> order;
    order.reserve(static_cast<std::size_t>(rowCount()));
    for (int row = 0; row < rowCount(); ++row) order.push_back(mapToSource(index(row, 0)).row());
    return order;
}

int TFileListSortModel::rowOf(int tableIndex) const {
    if (sourceModel() == nullptr || tableIndex < 0) return -1;
    return mapFromSource(sourceModel()->index(tableIndex, 0)).row();
}

QVariant TFileListSortModel::headerData(int section, Qt::Orientation orientation, int role) const {
    QVariant caption = QSortFilterProxyModel::headerData(section, orientation, role);
    if (section == TFileListModel::kFileColumn && orientation == Qt::Horizontal &&
        role == Qt::DisplayRole && sourceModel() != nullptr && sourceModel()->rowCount() > 0) {
        return QStringLiteral("%1 (%2)").arg(caption.toString()).arg(rowCount());
    }
    return caption;
}

int TFileListSortModel::compareValues(const QString& left, const QString& right) {
    const std::optional<double> leftNumber = NumericValue(left);
    const std::optional<double> rightNumber = NumericValue(right);
    if (leftNumber && rightNumber) {
        return *leftNumber < *rightNumber ? -1 : (*leftNumber > *rightNumber ? 1 : 0);
    }
    // Sorting compares often; a collator is costly to set up.
    static const QCollator collator = [] {
        QCollator caseless;
        caseless.setCaseSensitivity(Qt::CaseInsensitive);
        return caseless;
    }();
    const int order = collator.compare(left, right);
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

bool TFileListSortModel::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const {
    if (!onlyLevels_) return true;
    return sourceModel()->index(sourceRow, 0, sourceParent).data(TFileListModel::kIsLevelRole).toBool();
}

bool TFileListSortModel::lessThan(const QModelIndex& left, const QModelIndex& right) const {
    const QVariant leftKey = left.data(TFileListModel::kSortRole);
    const QVariant rightKey = right.data(TFileListModel::kSortRole);
    if (leftKey.isValid() && rightKey.isValid()) return leftKey.toDouble() < rightKey.toDouble();
    return compareValues(left.data().toString(), right.data().toString()) < 0;
}
