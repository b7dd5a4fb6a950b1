#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The about box: the program's image, its name and version, and the credit line. Created once
// with the main window and shown modally from "About...".
class TAboutForm : public QDialog {
    Q_OBJECT

public:
    explicit TAboutForm(QWidget* parent = nullptr);

protected:
    // Reads every caption again when the interface's language changes.
    void changeEvent(QEvent* event) override;

private:
    // Reads every caption from the interface texts.
    void retranslate();
    QLabel* image_;
    QLabel* version_;
    QLabel* credit_;
    QPushButton* okButton_;
};
