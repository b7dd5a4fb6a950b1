#include "ui/level_preview_form.h"

#include <algorithm>

#include <QEvent>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>

#include "preview/fit_picture.h"
#include "ui/interface_texts.h"

TLevelPreviewForm::TLevelPreviewForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("levelPreviewForm"));
    // The scroll area fills the window by hand, without a layout, so that nothing gives the
    // window a minimum size: it may be made as small as an empty picture.
    scrollArea_ = new QScrollArea(this);
    scrollArea_->setObjectName(QStringLiteral("scrollArea"));
    scrollArea_->setFrameShape(QFrame::NoFrame);
    scrollArea_->setAlignment(Qt::AlignCenter);
    pictureLabel_ = new QLabel;
    pictureLabel_->setObjectName(QStringLiteral("pictureLabel"));
    scrollArea_->setWidget(pictureLabel_);
    setMinimumSize(0, 0);
    retranslate();
}

void TLevelPreviewForm::setPicture(const QImage& background, const QString& levelName) {
    picture_ = preview::ExpandTo24Bits(background);
    levelName_ = levelName;
    pictureLabel_->setPixmap(QPixmap::fromImage(picture_));
    pictureLabel_->resize(picture_.size());
    retranslate();
    // Without a picture the window keeps its size, so that it stays in view.
    if (!picture_.isNull()) place(false);
}

void TLevelPreviewForm::showPicture(const QImage& background, const QString& levelName) {
    setPicture(background, levelName);
    if (!isVisible()) show();
    place(!placed_);
    placed_ = true;
    raise();
    activateWindow();
}

void TLevelPreviewForm::reset() { setPicture(QImage(), QString()); }

void TLevelPreviewForm::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) retranslate();
    QDialog::changeEvent(event);
}

void TLevelPreviewForm::retranslate() {
    const QString word =
        ui::InterfaceText(QStringLiteral("level_preview"), QStringLiteral("preview"));
    setWindowTitle(levelName_.isEmpty() ? word : word + QStringLiteral(" ") + levelName_);
}

void TLevelPreviewForm::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    scrollArea_->setGeometry(rect());
}

void TLevelPreviewForm::place(bool centre) {
    const QScreen* display = screen();
    if (display == nullptr) return;
    const QRect area = display->availableGeometry();
    // The frame is known once the window has been shown; before, it counts as nothing.
    const QSize frame = frameGeometry().size() - geometry().size();
    const QSize most = area.size() - frame;
    setMaximumSize(most);
    // A scroll bar along one side takes room from the other.
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    QSize client = picture_.size();
    if (client.width() > most.width()) client.rheight() += scrollBar;
    if (client.height() > most.height()) client.rwidth() += scrollBar;
    resize(client.boundedTo(most));
    const QSize outer = size() + frame;
    if (centre) {
        move(area.x() + (area.width() - outer.width()) / 2,
             area.y() + (area.height() - outer.height()) / 2);
        return;
    }
    // Grown past the screen's edge, it comes back only as far as it must.
    const QPoint at = pos();
    move(std::clamp(at.x(), area.left(), area.x() + area.width() - outer.width()),
         std::clamp(at.y(), area.top(), area.y() + area.height() - outer.height()));
}
