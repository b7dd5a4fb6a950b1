#include "ui/file_list_view.h"

#include <algorithm>

#include <QHeaderView>
#include <QItemSelectionModel>

#include "ui/archive_session.h"
#include "ui/file_list_model.h"
#include "ui/file_list_sort_model.h"

TFileListView::TFileListView(TArchiveSession& session, QWidget* parent)
    : QTreeView(parent), session_(session) {
    setObjectName(QStringLiteral("filesView"));
    files_ = new TFileListModel(session_, this);
    rows_ = new TFileListSortModel(this);
    rows_->setSourceModel(files_);
    setModel(rows_);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAllColumnsShowFocus(true);
    header()->setSectionsClickable(true);
    header()->setStretchLastSection(false);
    header()->setSortIndicatorShown(false);
    setColumnWidths({30, 75, 145, 50, 70, 70});
    connect(header(), &QHeaderView::sectionClicked, this, &TFileListView::onHeaderClicked);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &TFileListView::onCurrentRowChanged);
    connect(&session_, &TArchiveSession::opened, this, &TFileListView::showSelectedFile);
    connect(&session_, &TArchiveSession::subFileSelected, this, [this] {
        if (!selecting_) followSession();
    });
}

bool TFileListView::onlyLevels() const { return rows_->onlyLevels(); }

void TFileListView::setOnlyLevels(bool onlyLevels) {
    if (onlyLevels == rows_->onlyLevels()) return;
    {
        const QSignalBlocker blocker(selectionModel());
        rows_->setOnlyLevels(onlyLevels);
    }
    showSelectedFile();
}

std::vector<int> TFileListView::displayOrder() const { return rows_->displayOrder(); }

TFileListView::ColumnWidths TFileListView::columnWidths() const {
    ColumnWidths widths{};
    for (std::size_t column = 0; column < widths.size(); ++column) {
        widths[column] = columnWidth(static_cast<int>(column));
    }
    return widths;
}

void TFileListView::setColumnWidths(const ColumnWidths& widths) {
    // A column narrower than this could no longer be found to widen it again.
    constexpr int kNarrowest = 8;
    for (std::size_t column = 0; column < widths.size(); ++column) {
        setColumnWidth(static_cast<int>(column), std::max(widths[column], kNarrowest));
    }
}

void TFileListView::retranslate() { files_->retranslate(); }

void TFileListView::onHeaderClicked(int column) {
    const Qt::SortOrder order = rows_->columnClicked(column);
    header()->setSortIndicatorShown(true);
    header()->setSortIndicator(column, order);
    if (currentIndex().isValid()) scrollTo(currentIndex(), QAbstractItemView::EnsureVisible);
}

void TFileListView::onCurrentRowChanged() {
    const QModelIndex current = currentIndex();
    selecting_ = true;
    session_.selectSubFile(current.isValid() ? rows_->mapToSource(current).row() : -1);
    selecting_ = false;
    if (current.isValid()) scrollTo(current, QAbstractItemView::EnsureVisible);
}

void TFileListView::followSession() {
    const int row = rows_->rowOf(session_.currentSubFileIndex());
    if (row < 0) {
        selecting_ = true;
        selectionModel()->clear();
        selecting_ = false;
        return;
    }
    showSelectedFile();
}

void TFileListView::showSelectedFile() {
    int row = rows_->rowOf(session_.currentSubFileIndex());
    if (row < 0 && rows_->rowCount() > 0) row = 0;
    if (row < 0) {
        session_.selectSubFile(-1);
        return;
    }
    const QModelIndex index = rows_->index(row, 0);
    if (index != currentIndex()) {
        selectionModel()->setCurrentIndex(
            index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    } else {
        onCurrentRowChanged();
    }
    scrollTo(index, QAbstractItemView::EnsureVisible);
}
