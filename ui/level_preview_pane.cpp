#include "ui/level_preview_pane.h"

#include <QLabel>
#include <QVBoxLayout>

#include "ui/interface_texts.h"

namespace {

constexpr int kHeightPerSize = 50;
constexpr int kBoxExtra = 27;
constexpr int kMaximumWidth = 287;

}  // namespace

TLevelPreviewPane::TLevelPreviewPane(QWidget* parent) : QGroupBox(parent) {
    setObjectName(QStringLiteral("levelPreview"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 2, 6, 4);
    picture_ = new QLabel;
    picture_->setObjectName(QStringLiteral("levelPreviewPicture"));
    picture_->setAlignment(Qt::AlignCenter);
    picture_->setMaximumWidth(kMaximumWidth);
    picture_->setEnabled(false);
    layout->addWidget(picture_, 0, Qt::AlignCenter);
    retranslate();
}

int TLevelPreviewPane::heightOf(int size) { return size * kHeightPerSize + kBoxExtra; }

void TLevelPreviewPane::setPreviewSize(int size) {
    setFixedHeight(heightOf(size));
    picture_->setMaximumHeight(size * kHeightPerSize);
}

void TLevelPreviewPane::clear() { picture_->clear(); }

void TLevelPreviewPane::retranslate() {
    setTitle(InterfaceText("main", "level_preview"));
    picture_->setToolTip(InterfaceText("main", "click_to_enlarge"));
}
