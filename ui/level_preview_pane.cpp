#include "ui/level_preview_pane.h"

#include <exception>

#include <QVBoxLayout>

#include "preview/level_background.h"
#include "ui/archive_session.h"
#include "ui/interface_texts.h"
#include "ui/level_preview_picture.h"

namespace {

constexpr int kBoxExtra = 27;
// The picture keeps this margin to each side of the box.
constexpr int kSideMargin = 8;

}  // namespace

TLevelPreviewPane::TLevelPreviewPane(TArchiveSession& session, QWidget* parent)
    : QGroupBox(parent), session_(session) {
    setObjectName(QStringLiteral("levelPreview"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kSideMargin, 2, kSideMargin, 4);
    picture_ = new TLevelPreviewPicture;
    layout->addWidget(picture_);
    connect(picture_, &TLevelPreviewPicture::clicked, this, &TLevelPreviewPane::clicked);
    connect(&session_, &TArchiveSession::subFileSelected, this, &TLevelPreviewPane::showSelectedLevel);
    connect(&session_, &TArchiveSession::opened, this, &TLevelPreviewPane::showSelectedLevel);
    retranslate();
}

void TLevelPreviewPane::showSelectedLevel() {
    const TLGPSubFile* level = session_.currentLevel();
    QString problem;
    if (level == nullptr) {
        picture_->reset();
    } else {
        try {
            picture_->setPicture(ReadLevelBackground(*session_.archive(), *level));
        } catch (const std::exception& error) {
            // The editor goes on without the picture; the reason goes where the user sees it.
            picture_->reset();
            problem = QString::fromLocal8Bit(error.what());
        }
    }
    emit problemChanged(problem);
}

int TLevelPreviewPane::heightOf(int size) {
    return size * TLevelPreviewPicture::kHeightPerSize + kBoxExtra;
}

void TLevelPreviewPane::setPreviewSize(int size) {
    picture_->setPreviewSize(size);
    setFixedHeight(heightOf(picture_->previewSize()));
}

void TLevelPreviewPane::setPicture(const QImage& background) { picture_->setPicture(background); }

void TLevelPreviewPane::reset() { picture_->reset(); }

const QImage& TLevelPreviewPane::background() const { return picture_->background(); }

void TLevelPreviewPane::retranslate() {
    setTitle(InterfaceText("main", "level_preview"));
    picture_->retranslate();
}
