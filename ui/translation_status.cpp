#include "ui/translation_status.h"

#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>

#include "ui/archive_session.h"
#include "ui/interface_texts.h"
#include "ui/translation_marks.h"

TTranslationStatus::TTranslationStatus(const TArchiveSession& session, QWidget* parent)
    : QWidget(parent), session_(session) {
    setObjectName(QStringLiteral("translationStatus"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    for (QLabel** panel : {&originalPanel_, &progressPanel_}) {
        *panel = new QLabel;
        (*panel)->setFrameShape(QFrame::Panel);
        (*panel)->setFrameShadow(QFrame::Sunken);
        layout->addWidget(*panel);
    }
    originalPanel_->setObjectName(QStringLiteral("originalPanel"));
    progressPanel_->setObjectName(QStringLiteral("progressPanel"));
    const TTranslationMarks& marks = session_.translationMarks();
    connect(&marks, &TTranslationMarks::originalChanged, this, &TTranslationStatus::showProgress);
    connect(&marks, &TTranslationMarks::marksChanged, this, &TTranslationStatus::showProgress);
    showProgress();
}

QString TTranslationStatus::originalText() const { return originalPanel_->text(); }
QString TTranslationStatus::progressText() const { return progressPanel_->text(); }

void TTranslationStatus::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) showProgress();
    QWidget::changeEvent(event);
}

void TTranslationStatus::showProgress() {
    const TTranslationMarks& marks = session_.translationMarks();
    setVisible(marks.hasOriginal());
    if (!marks.hasOriginal()) {
        originalPanel_->clear();
        progressPanel_->clear();
        return;
    }
    originalPanel_->setText(ui::InterfaceText("main", "original_status")
                                .arg(QFileInfo(marks.originalPath()).fileName()));
    originalPanel_->setToolTip(marks.originalPath());
    const translation::Progress progress = marks.totalProgress();
    const double share = progress.texts == 0 ? 0.0
                                             : 100.0 * static_cast<double>(progress.translated) /
                                                   static_cast<double>(progress.texts);
    const QLocale locale;
    progressPanel_->setText(ui::InterfaceText("main", "translated_progress")
                                .arg(locale.toString(static_cast<qulonglong>(progress.translated)),
                                     locale.toString(static_cast<qulonglong>(progress.texts)),
                                     locale.toString(share, 'f', 1)));
}
