#include "ui/text_preview_pane.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QToolButton>

#include "lgp/window.h"
#include "preview/window_preview.h"
#include "ui/archive_session.h"
#include "ui/interface_texts.h"

TTextPreviewPane::TTextPreviewPane(TArchiveSession& session, const GlyphSets& glyphs,
                                   QWidget* parent)
    : QGroupBox(parent), session_(session), glyphs_(glyphs) {
    setObjectName(QStringLiteral("textPreview"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 2, 6, 4);
    scrollArea_ = new QScrollArea;
    // As low as the smallest level preview beside it; the splitter above makes it taller.
    scrollArea_->setMinimumHeight(1);
    pictureLabel_ = new QLabel;
    pictureLabel_->setObjectName(QStringLiteral("textPreviewPicture"));
    scrollArea_->setWidget(pictureLabel_);
    layout->addWidget(scrollArea_, 1);

    auto* windows = new QGridLayout;
    windows->setSpacing(2);
    windowLabel_ = new QLabel;
    windowSelector_ = new QSpinBox;
    windowSelector_->setObjectName(QStringLiteral("windowSelector"));
    windowButton_ = new QToolButton;
    windowButton_->setObjectName(QStringLiteral("windowButton"));
    windowButton_->setIcon(QIcon(QStringLiteral(":/images/modify_window.png")));
    // Label above, selector and button beside each other: it all fits the smallest pane.
    windows->addWidget(windowLabel_, 0, 0, 1, 2);
    windows->addWidget(windowSelector_, 1, 0);
    windows->addWidget(windowButton_, 1, 1);
    windows->setRowStretch(2, 1);
    layout->addLayout(windows);

    connect(windowSelector_, &QSpinBox::valueChanged, this,
            [this](int value) { session_.selectWindow(value - 1); });
    connect(windowButton_, &QToolButton::clicked, this, &TTextPreviewPane::modifyWindowRequested);
    connect(&session_, &TArchiveSession::textSelected, this, [this] {
        updateSelector();
        redraw();
    });
    connect(&session_, &TArchiveSession::textEdited, this, [this](int subFile, int text) {
        if (subFile == session_.currentSubFileIndex() && text == session_.currentText()) redraw();
    });
    connect(&session_, &TArchiveSession::windowSelected, this, [this] {
        updateSelector();
        redraw();
    });
    connect(&session_, &TArchiveSession::windowEdited, this, &TTextPreviewPane::redraw);
    updateSelector();
    retranslate();
}

void TTextPreviewPane::setColors(const TWindowColors& colors) {
    colors_ = colors;
    redraw();
}

void TTextPreviewPane::setPictureShown(bool shown) {
    shown_ = shown;
    pictureLabel_->setVisible(shown);
    redraw();
}

void TTextPreviewPane::setWindowButtonAvailable(bool available) {
    windowButtonAvailable_ = available;
    updateSelector();
}

void TTextPreviewPane::redraw() {
    picture_ = QImage();
    if (shown_ && session_.currentLevel() != nullptr && session_.currentText() >= 0) {
        const TWindow* window = session_.currentWindow();
        picture_ = DrawWindowPreview(glyphs_, colors_, session_.currentTagged(),
                                     window != nullptr ? window->Width : kAutomaticSize,
                                     window != nullptr ? window->Height : kAutomaticSize);
    }
    if (picture_.isNull()) {
        pictureLabel_->clear();
        pictureLabel_->resize(0, 0);
        return;
    }
    pictureLabel_->setPixmap(QPixmap::fromImage(picture_));
    pictureLabel_->resize(picture_.size());
}

void TTextPreviewPane::retranslate() {
    setTitle(InterfaceText("main", "text_preview"));
    windowLabel_->setText(InterfaceText("main", "window"));
    windowButton_->setToolTip(InterfaceText("main", "modify_window_size_position"));
}

void TTextPreviewPane::updateSelector() {
    const int windows = session_.windowCount();
    const QSignalBlocker blocker(windowSelector_);
    if (windows > 0) {
        windowSelector_->setEnabled(true);
        windowSelector_->setRange(1, windows);
        windowSelector_->setValue(session_.currentWindowIndex() + 1);
    } else {
        windowSelector_->setEnabled(false);
        windowSelector_->setRange(-1, -1);
        windowSelector_->setValue(-1);
    }
    // A damaged level's windows are shown as they are, never changed.
    windowButton_->setEnabled(windows > 0 && windowButtonAvailable_ &&
                              !session_.isLevelReadOnly(session_.currentSubFileIndex()));
}
