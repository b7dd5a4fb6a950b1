#pragma once

#include <array>
#include <vector>

#include <QTreeView>

class TArchiveSession;
class TFileListModel;
class TFileListSortModel;

// The list of the open archive's files: one row per file, sortable by each column, optionally
// only the levels. Its selection is the session's selected file, both ways: choosing a row
// selects the file, and a file selected elsewhere is selected and shown here. Typing a file's
// name selects it, whichever column was clicked. The Translated column shows only while the
// archive has an original to count against.
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
    // The widths of the columns, a hidden one's as it shows again.
    ColumnWidths columnWidths() const;
    // Widths below a few pixels are widened, so that no column is lost, and so is a column too
    // narrow for its caption in the current language.
    void setColumnWidths(const ColumnWidths& widths);
    // The width that shows every column shown whole, with the frame and a vertical scroll bar.
    int widthForColumns() const;

protected:
    // Reads every caption again when the interface's language changes.
    void changeEvent(QEvent* event) override;

    // Matches the typed text against the File column.
    void keyboardSearch(const QString& search) override;

private:
    // Reads every caption from the interface texts.
    void retranslate();
    void onHeaderClicked(int column);
    void onCurrentRowChanged();
    // Selects the row of the session's file, or when it is not listed the first row that is a
    // level (the first row when none is).
    void showSelectedFile();
    // Widens every column too narrow for its caption (the File column's with a count of up to
    // four digits, which it gets once an archive is open; the sorted column's beside the sort
    // mark).
    void fitCaptions();
    // Shows the file the session selected elsewhere, or no selection when it selected none.
    void followSession();
    // Shows the Translated column while the session has an original, and hides it without.
    void showTranslatedColumn();

    TArchiveSession& session_;
    TFileListModel* files_;
    TFileListSortModel* rows_;
    // Set while this view changes its own selection, so that it does not select again.
    bool selecting_ = false;
    // The Translated column's width while it is hidden.
    int hiddenTranslatedWidth_ = 0;
};
