#include "ui/file_list_view.h"

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
    SetColumnWidths({30, 75, 145, 50});
    connect(header(), &QHeaderView::sectionClicked, this, &TFileListView::OnHeaderClicked);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &TFileListView::OnCurrentRowChanged);
    connect(&session_, &TArchiveSession::opened, this, &TFileListView::ShowSelectedFile);
    connect(&session_, &TArchiveSession::subFileSelected, this, [this] {
        if (!selecting_) ShowSelectedFile();
    });
}

bool TFileListView::OnlyLevels() const { return rows_->OnlyLevels(); }

void TFileListView::SetOnlyLevels(bool onlyLevels) {
    if (onlyLevels == rows_->OnlyLevels()) return;
    {
        const QSignalBlocker blocker(selectionModel());
        rows_->SetOnlyLevels(onlyLevels);
    }
    ShowSelectedFile();
}

std::vector<int> TFileListView::DisplayOrder() const { return rows_->DisplayOrder(); }

std::array<int, 4> TFileListView::ColumnWidths() const {
    std::array<int, 4> widths{};
    for (std::size_t column = 0; column < widths.size(); ++column) {
        widths[column] = columnWidth(static_cast<int>(column));
    }
    return widths;
}

void TFileListView::SetColumnWidths(const std::array<int, 4>& widths) {
    for (std::size_t column = 0; column < widths.size(); ++column) {
        setColumnWidth(static_cast<int>(column), widths[column]);
    }
}

void TFileListView::Retranslate() { files_->Retranslate(); }

void TFileListView::OnHeaderClicked(int column) {
    const Qt::SortOrder order = rows_->ColumnClicked(column);
    header()->setSortIndicatorShown(true);
    header()->setSortIndicator(column, order);
    if (currentIndex().isValid()) scrollTo(currentIndex(), QAbstractItemView::EnsureVisible);
}

void TFileListView::OnCurrentRowChanged() {
    const QModelIndex current = currentIndex();
    selecting_ = true;
    session_.SelectSubFile(current.isValid() ? rows_->mapToSource(current).row() : -1);
    selecting_ = false;
    if (current.isValid()) scrollTo(current, QAbstractItemView::EnsureVisible);
}

void TFileListView::ShowSelectedFile() {
    int row = rows_->RowOf(session_.CurrentSubFileIndex());
    if (row < 0 && rows_->rowCount() > 0) row = 0;
    if (row < 0) {
        session_.SelectSubFile(-1);
        return;
    }
    const QModelIndex index = rows_->index(row, 0);
    if (index != currentIndex()) {
        selectionModel()->setCurrentIndex(
            index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    } else {
        OnCurrentRowChanged();
    }
    scrollTo(index, QAbstractItemView::EnsureVisible);
}
