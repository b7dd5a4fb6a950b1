#include "ui/file_list_view.h"

#include <algorithm>

#include <QEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionHeader>

#include "ui/archive_session.h"
#include "ui/file_list_model.h"
#include "ui/file_list_sort_model.h"
#include "ui/translation_marks.h"

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
    connect(&session_.translationMarks(), &TTranslationMarks::originalChanged, this,
            &TFileListView::showTranslatedColumn);
    showTranslatedColumn();
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
    if (isColumnHidden(TFileListModel::kTranslatedColumn)) {
        widths[TFileListModel::kTranslatedColumn] = hiddenTranslatedWidth_;
    }
    return widths;
}

void TFileListView::setColumnWidths(const ColumnWidths& widths) {
    // A column narrower than this could no longer be found to widen it again.
    constexpr int kNarrowest = 8;
    const bool translatedHidden = isColumnHidden(TFileListModel::kTranslatedColumn);
    // A hidden column takes its width as it shows again.
    if (translatedHidden) setColumnHidden(TFileListModel::kTranslatedColumn, false);
    for (std::size_t column = 0; column < widths.size(); ++column) {
        setColumnWidth(static_cast<int>(column), std::max(widths[column], kNarrowest));
    }
    fitCaptions();
    if (translatedHidden) showTranslatedColumn();
}

int TFileListView::widthForColumns() const {
    int width = 2 * frameWidth() + style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    for (int column = 0; column < TFileListModel::kColumnCount; ++column) {
        if (!isColumnHidden(column)) width += columnWidth(column);
    }
    return width;
}

void TFileListView::showTranslatedColumn() {
    const int column = TFileListModel::kTranslatedColumn;
    const bool shown = session_.translationMarks().hasOriginal();
    if (shown == !isColumnHidden(column)) return;
    if (!shown) hiddenTranslatedWidth_ = columnWidth(column);
    setColumnHidden(column, !shown);
}

void TFileListView::fitCaptions() {
    QHeaderView* captions = header();
    for (int column = 0; column < TFileListModel::kColumnCount; ++column) {
        QStyleOptionHeader option;
        option.initFrom(captions);
        option.section = column;
        option.text = files_->headerData(column, Qt::Horizontal).toString();
        if (column == TFileListModel::kFileColumn) option.text += QStringLiteral(" (8888)");
        // The sorted column's caption shares its room with the sort mark.
        if (captions->isSortIndicatorShown() && captions->sortIndicatorSection() == column) {
            option.sortIndicator = QStyleOptionHeader::SortDown;
        }
        const int needed =
            captions->style()->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), captions).width();
        if (columnWidth(column) < needed) setColumnWidth(column, needed);
    }
}

void TFileListView::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) retranslate();
    QTreeView::changeEvent(event);
}

void TFileListView::retranslate() {
    files_->retranslate();
    fitCaptions();
}

void TFileListView::keyboardSearch(const QString& search) {
    // The view searches the column of its current cell; the row stays the current one.
    const QModelIndex current = currentIndex();
    const QModelIndex name = current.isValid()
                                 ? current.siblingAtColumn(TFileListModel::kFileColumn)
                                 : rows_->index(0, TFileListModel::kFileColumn);
    if (name.isValid() && name != current) {
        selectionModel()->setCurrentIndex(name, QItemSelectionModel::NoUpdate);
    }
    QTreeView::keyboardSearch(search);
}

void TFileListView::onHeaderClicked(int column) {
    const Qt::SortOrder order = rows_->columnClicked(column);
    header()->setSortIndicatorShown(true);
    header()->setSortIndicator(column, order);
    fitCaptions();
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
    for (int candidate = 0; row < 0 && candidate < rows_->rowCount(); ++candidate) {
        if (rows_->index(candidate, 0).data(TFileListModel::kIsLevelRole).toBool()) row = candidate;
    }
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
