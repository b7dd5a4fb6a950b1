#pragma once

#include "ui/search_dialog.h"

class QLabel;

// The replace dialog ("Replace"): the search text in MemoReplace and its replacement in
// MemoWith; Find, Next and Previous search as the find dialog does, Replace puts the
// replacement in place of the editor's selection, Replace all replaces every occurrence in
// every level. The five buttons are enabled while the search text is not empty.
class TReplaceForm : public TSearchDialog {
    Q_OBJECT

public:
    explicit TReplaceForm(QWidget* parent = nullptr);

    // MemoWith's text as the editor holds it (line breaks as "\n").
    QString Replacement() const;

    void retranslate() override;

    // Replaces the editor's selection with `replacement`, or inserts it at the caret when
    // nothing is selected, and selects what it put in. Does nothing to an editor that is
    // disabled or read-only.
    static void ReplaceSelection(QPlainTextEdit& editor, const QString& replacement);
    // What replace-all tells when it has changed `changed` texts: "No text has been
    // modified.", "1 text has been modified." or "1,234 texts have been modified." (the
    // count with the user's thousands separator).
    static QString ResultMessage(int changed);

signals:
    void replaceRequested(const QString& replacement);
    void replaceAllRequested(const QString& search, const QString& replacement, bool matchCase);

protected:
    void UpdateButtons() override;

private:
    QLabel* labelReplace_;
    QLabel* labelWith_;
    QPlainTextEdit* memoWith_;
    QPushButton* replaceButton_;
    QPushButton* replaceAllButton_;
};
