#include "ui/level_preview_pane.h"

#include <exception>

#include <QEvent>
#include <QVBoxLayout>

#include "jobs/qt_strings.h"
#include "preview/level_background.h"
#include "ui/archive_session.h"
#include "ui/interface_texts.h"
#include "ui/level_preview_form.h"
#include "ui/level_preview_picture.h"

namespace {

constexpr int kBoxExtra = 27;
// The picture keeps this margin to each side of the box.
constexpr int kSideMargin = 8;

}  // namespace

TLevelPreviewPane::TLevelPreviewPane(TArchiveSession& session, TLevelPreviewForm& enlarged,
                                     QWidget* parent)
    : QGroupBox(parent), session_(session), enlarged_(enlarged) {
    setObjectName(QStringLiteral("levelPreview"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kSideMargin, 2, kSideMargin, 4);
    picture_ = new TLevelPreviewPicture;
    layout->addWidget(picture_);
    connect(picture_, &TLevelPreviewPicture::clicked, this, &TLevelPreviewPane::showEnlarged);
    connect(&session_, &TArchiveSession::archiveAboutToBeReplaced, &enlarged_, &QWidget::hide);
    connect(&session_, &TArchiveSession::subFileSelected, this, &TLevelPreviewPane::showSelectedLevel);
    retranslate();
}

void TLevelPreviewPane::showSelectedLevel() {
    const TLGPSubFile* level = session_.currentLevel();
    QString problem;
    if (level == nullptr) {
        picture_->reset();
    } else {
        try {
            picture_->setPicture(preview::ReadLevelBackground(*session_.archive(), *level));
        } catch (const std::exception& error) {
            // The editor goes on without the picture; the reason goes where the user sees it.
            picture_->reset();
            problem = jobs::fromUtf8(error.what());
        }
    }
    emit problemChanged(problem);
    // The enlarged window, while open, shows what the pane shows.
    if (!enlarged_.isVisible()) return;
    if (picture_->background().isNull()) {
        enlarged_.reset();
    } else {
        enlarged_.setPicture(picture_->background(), jobs::fromWindows1252(level->Name));
    }
}

void TLevelPreviewPane::showEnlarged() {
    const TLGPSubFile* level = session_.currentLevel();
    if (level == nullptr) return;
    enlarged_.showPicture(picture_->background(), jobs::fromWindows1252(level->Name));
}

int TLevelPreviewPane::heightOf(int size) {
    return size * TLevelPreviewPicture::kHeightPerSize + kBoxExtra;
}

void TLevelPreviewPane::setPreviewSize(int size) {
    picture_->setPreviewSize(size);
    setFixedHeight(heightOf(picture_->previewSize()));
}

void TLevelPreviewPane::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) retranslate();
    QGroupBox::changeEvent(event);
}

void TLevelPreviewPane::retranslate() { setTitle(ui::InterfaceText("main", "level_preview")); }
