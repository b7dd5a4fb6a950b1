#pragma once

#include <QAbstractListModel>

class TArchiveSession;

// The texts of the session's current level: "Text 1", "Text 2", ... in the current language,
// with roles for what the list draws beside each caption.
class TTextsListModel : public QAbstractListModel {
    Q_OBJECT

public:
    enum Role {
        // Number of windows that show the text.
        kWindowCountRole = Qt::UserRole + 1,
        // True when a comparison marked the text as different.
        kCompareMarkRole,
        // True when the text or one of its windows differs from the saved file.
        kChangedRole,
        // True when the text overflows one of its windows; the tool tip tells how.
        kOverflowRole,
        // True while the text's bytes are still the original archive's.
        kUntranslatedRole,
        // What the checks against the original found: kNoFinding, kWarningFound or
        // kErrorFound; the tool tip tells what.
        kFindingsRole,
    };
    enum Findings { kNoFinding, kWarningFound, kErrorFound };

    explicit TTextsListModel(TArchiveSession& session, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // The captions in the current language.
    void retranslate();

private:
    void allRowsChanged();

    TArchiveSession& session_;
};
