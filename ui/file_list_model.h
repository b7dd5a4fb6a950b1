#pragma once

#include <QAbstractTableModel>

class TArchiveSession;

// The files of the open archive in table-of-contents order, one row each, with the columns
// "#" (1-based table index), File, Description, Texts (a level's text count, "-" for other
// files) and Overflows (how many of a level's texts overflow their windows, in red when any
// do; "-" for other files) and, while an original archive is set, Translated (a level's
// translated texts out of all of them, "12/40", in red with the number of texts with errors as
// hint when the checks found any; "-" for other files and without an original). A level whose
// texts or windows differ from the saved ones is shown in bold; a damaged (read-only) level is
// greyed, with the reason as its hint.
class TFileListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column {
        kIndexColumn,
        kFileColumn,
        kDescriptionColumn,
        kTextsColumn,
        kOverflowsColumn,
        kTranslatedColumn,
        kColumnCount
    };
    // True for a row whose file is a level.
    static constexpr int kIsLevelRole = Qt::UserRole + 1;
    // What a column sorts by where its caption does not tell (a double), else nothing.
    static constexpr int kSortRole = Qt::UserRole + 2;

    // Follows the session: rows come and go with the open archive.
    explicit TFileListModel(TArchiveSession& session, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // The bare column words of the current language ("#", "File", "Description", "Texts",
    // "Overflows", "Translated").
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // The column captions in the current language.
    void retranslate();

private:
    void rowChanged(int row);

    TArchiveSession& session_;
};
