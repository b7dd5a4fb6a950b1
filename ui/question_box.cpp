#include "ui/question_box.h"

#include <QAbstractButton>
#include <QMessageBox>

namespace ui {

namespace {

// More lines than this make the box taller than a screen would want.
constexpr qsizetype kShownLines = 6;

}  // namespace

bool AskYesNo(const QString& title, const QString& question, const QString& detail,
              const QStringList& captions) {
    QMessageBox box(QMessageBox::Question, title, question, QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::No);
    if (captions.size() == 2) {
        box.button(QMessageBox::Yes)->setText(captions[0]);
        box.button(QMessageBox::No)->setText(captions[1]);
    }
    ShowDetail(box, detail);
    box.setWindowModality(Qt::ApplicationModal);
    return box.exec() == QMessageBox::Yes;
}

void ShowDetail(QMessageBox& box, const QString& detail) {
    if (detail.isEmpty()) return;
    const QStringList lines = detail.split(u'\n');
    if (lines.size() <= kShownLines) {
        box.setInformativeText(detail);
        return;
    }
    box.setInformativeText(lines.mid(0, kShownLines).join(u'\n') + QStringLiteral("\n..."));
    box.setDetailedText(detail);
}

}  // namespace ui
