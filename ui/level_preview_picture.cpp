#include "ui/level_preview_picture.h"

#include <algorithm>

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QSizePolicy>

#include "preview/fit_picture.h"
#include "ui/interface_texts.h"

TLevelPreviewPicture::TLevelPreviewPicture(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("levelPreviewPicture"));
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    setFixedHeight(size_ * kHeightPerSize);
    setEnabled(false);
    retranslate();
}

void TLevelPreviewPicture::setPreviewSize(int size) {
    size_ = std::clamp(size, kSmallestSize, kLargestSize);
    setFixedHeight(size_ * kHeightPerSize);
    fit();
}

void TLevelPreviewPicture::setPicture(const QImage& background) {
    background_ = background;
    setEnabled(!background_.isNull());
    fit();
}

void TLevelPreviewPicture::reset() { setPicture(QImage()); }

void TLevelPreviewPicture::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) retranslate();
    QWidget::changeEvent(event);
}

void TLevelPreviewPicture::retranslate() {
    setToolTip(ui::InterfaceText(QStringLiteral("main"), QStringLiteral("click_to_enlarge")));
}

void TLevelPreviewPicture::fit() {
    picture_ = background_;
    preview::FitPicture(picture_, width(), size_ * kHeightPerSize);
    update();
}

void TLevelPreviewPicture::paintEvent(QPaintEvent*) {
    if (picture_.isNull()) return;
    QPainter painter(this);
    painter.drawImage((width() - picture_.width()) / 2, (height() - picture_.height()) / 2,
                      picture_);
}

void TLevelPreviewPicture::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    if (!pressed_) QWidget::mousePressEvent(event);
}

void TLevelPreviewPicture::mouseReleaseEvent(QMouseEvent* event) {
    if (!pressed_ || event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    pressed_ = false;
    if (rect().contains(event->position().toPoint()) && !background_.isNull()) emit clicked();
}

void TLevelPreviewPicture::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fit();
}
