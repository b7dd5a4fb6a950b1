#pragma once

#include <array>
#include <vector>

#include <QTreeView>

class TArchiveSession;
class TFileListModel;
class TFileListSortModel;

// The list of the open archive's files: one row per file, sortable by each column, optionally
// only the levels. Its selection is the session's selected file, both ways: choosing a row
// selects the file, and a file selected elsewhere is selected and shown here.
class TFileListView : public QTreeView {
    Q_OBJECT

public:
    explicit TFileListView(TArchiveSession& session, QWidget* parent = nullptr);

    bool onlyLevels() const;
    // Shows only the levels, or all files; the selected file stays selected when it is still
    // listed, else the first row is selected.
    void setOnlyLevels(bool onlyLevels);
    // Table indices of the rows in the order shown.
    std::vector<int> displayOrder() const;

    using ColumnWidths = std::array<int, 6>;
    ColumnWidths columnWidths() const;
    // Widths below a few pixels are widened, so that no column is lost.
    void setColumnWidths(const ColumnWidths& widths);

    // The column captions in the current language.
    void retranslate();

private:
    void onHeaderClicked(int column);
    void onCurrentRowChanged();
    // Selects the row of the session's file, or the first row when it is not listed.
    void showSelectedFile();
    // Shows the file the session selected elsewhere, or no selection when it selected none.
    void followSession();

    TArchiveSession& session_;
    TFileListModel* files_;
    TFileListSortModel* rows_;
    // Set while this view changes its own selection, so that it does not select again.
    bool selecting_ = false;
};
