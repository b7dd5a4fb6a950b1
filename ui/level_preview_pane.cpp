#include "ui/level_preview_pane.h"

#include <algorithm>

#include <QMouseEvent>
#include <QPainter>
#include <QSizePolicy>

#include "preview/fit_picture.h"
#include "ui/interface_texts.h"

TLevelPreviewPane::TLevelPreviewPane(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("levelPreviewPane"));
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    setFixedHeight(size_ * kHeightPerSize);
    setEnabled(false);
    retranslate();
}

void TLevelPreviewPane::setPreviewSize(int size) {
    size_ = std::clamp(size, kSmallestSize, kLargestSize);
    setFixedHeight(size_ * kHeightPerSize);
    Fit();
}

void TLevelPreviewPane::setPicture(const QImage& background) {
    background_ = background;
    setEnabled(!background_.isNull());
    Fit();
}

void TLevelPreviewPane::reset() { setPicture(QImage()); }

void TLevelPreviewPane::retranslate() {
    setToolTip(InterfaceText(QStringLiteral("main"), QStringLiteral("click_to_enlarge")));
}

void TLevelPreviewPane::Fit() {
    picture_ = background_;
    FitPicture(picture_, width(), size_ * kHeightPerSize);
    update();
}

void TLevelPreviewPane::paintEvent(QPaintEvent*) {
    if (picture_.isNull()) return;
    QPainter painter(this);
    painter.drawImage((width() - picture_.width()) / 2, (height() - picture_.height()) / 2,
                      picture_);
}

void TLevelPreviewPane::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    if (!pressed_) QWidget::mousePressEvent(event);
}

void TLevelPreviewPane::mouseReleaseEvent(QMouseEvent* event) {
    if (!pressed_ || event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    pressed_ = false;
    if (rect().contains(event->position().toPoint()) && !background_.isNull()) emit clicked();
}

void TLevelPreviewPane::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Fit();
}
