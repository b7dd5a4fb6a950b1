#include "ui/question_box.h"

#include <QMessageBox>

bool AskYesNo(const QString& title, const QString& question, const QString& detail) {
    QMessageBox box(QMessageBox::Question, title, question, QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::No);
    if (!detail.isEmpty()) box.setDetailedText(detail);
    box.setWindowModality(Qt::ApplicationModal);
    return box.exec() == QMessageBox::Yes;
}
