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

    // The caption and the credit line in the current language.
    void retranslate();

private:
    QLabel* image_;
    QLabel* version_;
    QLabel* credit_;
    QPushButton* okButton_;
};
