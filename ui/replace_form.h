#pragma once

#include "ui/search_dialog.h"

class QLabel;
class QPlainTextEdit;

// The replace dialog ("Replace"): the search text in one text box and its replacement in
// another; Find, Next and Previous search as the find dialog does, Replace puts the
// replacement in place of the editor's selection when that is an occurrence and finds the
// next, Replace all replaces every occurrence in every level. The five buttons are enabled
// while the search text is not empty.
class TReplaceForm : public TSearchDialog {
    Q_OBJECT

public:
    explicit TReplaceForm(QWidget* parent = nullptr);

    // The replacement text as the editor holds it (line breaks as "\n").
    QString replacement() const;

    // Replaces the editor's selection with `replacement`, or inserts it at the caret when
    // nothing is selected, and selects what it put in. Does nothing to an editor that is
    // disabled or read-only.
    static void replaceSelection(QPlainTextEdit& editor, const QString& replacement);
    // What replace-all tells when it has changed `changed` texts: "No text has been
    // modified.", "1 text has been modified." or "1,234 texts have been modified." (the
    // count with the user's thousands separator).
    static QString resultMessage(int changed);

signals:
    void replaceRequested(const QString& replacement);
    void replaceAllRequested(const QString& search, const QString& replacement, bool matchCase);

protected:
    void retranslate() override;
    void updateButtons() override;

private:
    QLabel* replaceLabel_;
    QLabel* withLabel_;
    TGameTextEdit* withEdit_;
    QPushButton* replaceButton_;
    QPushButton* replaceAllButton_;
};
