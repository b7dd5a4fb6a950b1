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

    bool OnlyLevels() const;
    // Shows only the levels, or all files; the selected file stays selected when it is still
    // listed, else the first row is selected.
    void SetOnlyLevels(bool onlyLevels);
    // Table indices of the rows in the order shown.
    std::vector<int> DisplayOrder() const;

    std::array<int, 4> ColumnWidths() const;
    void SetColumnWidths(const std::array<int, 4>& widths);

    // The column captions in the current language.
    void Retranslate();

private:
    void OnHeaderClicked(int column);
    void OnCurrentRowChanged();
    // Selects the row of the session's file, or the first row when it is not listed.
    void ShowSelectedFile();

    TArchiveSession& session_;
    TFileListModel* files_;
    TFileListSortModel* rows_;
    // Set while this view changes its own selection, so that it does not select again.
    bool selecting_ = false;
};
