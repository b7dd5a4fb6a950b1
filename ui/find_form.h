#pragma once

#include "ui/search_dialog.h"

class QLabel;

// The find dialog ("Find"): the search text, and Find (from the first text of the
// first row), Next and Previous, enabled while the search text is not empty.
class TFindForm : public TSearchDialog {
    Q_OBJECT

public:
    explicit TFindForm(QWidget* parent = nullptr);

signals:
    // The search text became empty (false) or not (true): "Find next" and "Find previous"
    // follow it.
    void searchTextChanged(bool present);

protected:
    void retranslate() override;
    void updateButtons() override;

private:
    QLabel* findLabel_;
};
