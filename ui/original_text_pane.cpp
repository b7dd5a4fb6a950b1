#include "ui/original_text_pane.h"

#include <algorithm>

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "lgp/window.h"
#include "preview/window_preview.h"
#include "ui/archive_session.h"
#include "ui/editor_text.h"
#include "ui/interface_texts.h"
#include "ui/text_preview_pane.h"
#include "ui/translation_marks.h"

namespace {

// As wide as the texts list below it, so that the original stands over its editor.
constexpr int kCaptionColumnWidth = 120;
constexpr int kHintLines = 7;

}  // namespace

TOriginalTextPane::TOriginalTextPane(TArchiveSession& session, const preview::GlyphSets& glyphs,
                                     const TTextPreviewPane& preview, QWidget* parent)
    : QWidget(parent), session_(session), glyphs_(glyphs), preview_(preview) {
    setObjectName(QStringLiteral("originalPane"));
    auto* captions = new QWidget;
    captions->setFixedWidth(kCaptionColumnWidth);
    auto* captionsLayout = new QVBoxLayout(captions);
    captionsLayout->setContentsMargins(4, 2, 4, 2);
    captionLabel_ = new QLabel;
    QFont bold = captionLabel_->font();
    bold.setBold(true);
    captionLabel_->setFont(bold);
    stateLabel_ = new QLabel;
    stateLabel_->setObjectName(QStringLiteral("originalState"));
    previewButton_ = new QToolButton;
    previewButton_->setObjectName(QStringLiteral("originalPreviewButton"));
    previewButton_->setCheckable(true);
    captionsLayout->addWidget(captionLabel_);
    captionsLayout->addWidget(stateLabel_);
    captionsLayout->addWidget(previewButton_);
    captionsLayout->addStretch(1);

    originalText_ = new QPlainTextEdit;
    originalText_->setObjectName(QStringLiteral("originalText"));
    originalText_->setReadOnly(true);
    originalText_->setLineWrapMode(QPlainTextEdit::NoWrap);
    // Its own colour, so that it is not taken for the editor.
    QPalette palette = originalText_->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    originalText_->setPalette(palette);

    pictureArea_ = new QScrollArea;
    pictureLabel_ = new QLabel;
    pictureLabel_->setObjectName(QStringLiteral("originalPicture"));
    pictureArea_->setWidget(pictureLabel_);
    pictureArea_->hide();

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(captions);
    layout->addWidget(originalText_, 1);
    layout->addWidget(pictureArea_);

    const TTranslationMarks& marks = session_.translationMarks();
    connect(&marks, &TTranslationMarks::originalChanged, this, &TOriginalTextPane::showOriginal);
    connect(&marks, &TTranslationMarks::marksChanged, this, [this](int subFile, int text) {
        if (subFile == session_.currentSubFileIndex() && text == session_.currentText()) {
            showState();
        }
    });
    connect(&session_, &TArchiveSession::textSelected, this, &TOriginalTextPane::showOriginal);
    connect(&preview_, &TTextPreviewPane::drawn, this, &TOriginalTextPane::drawPicture);
    connect(previewButton_, &QToolButton::toggled, this, [this](bool shown) {
        pictureArea_->setVisible(shown);
        drawPicture();
    });
    retranslate();
}

QSize TOriginalTextPane::sizeHint() const {
    return {QWidget::sizeHint().width(),
            originalText_->fontMetrics().lineSpacing() * kHintLines +
                originalText_->horizontalScrollBar()->sizeHint().height() +
                4 * originalText_->frameWidth()};
}

void TOriginalTextPane::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) retranslate();
    QWidget::changeEvent(event);
}

void TOriginalTextPane::retranslate() {
    captionLabel_->setText(ui::InterfaceText("main", "original"));
    previewButton_->setText(ui::InterfaceText("main", "original_preview"));
    previewButton_->setToolTip(ui::InterfaceText("main", "original_preview_hint"));
    showOriginal();
}

void TOriginalTextPane::showOriginal() {
    const TTranslationMarks& marks = session_.translationMarks();
    setVisible(marks.hasOriginal());
    const int subFile = session_.currentSubFileIndex();
    const int text = session_.currentText();
    original_ = marks.originalTagged(subFile, text);
    ++shown_;
    originalText_->setPlainText(original_ ? ui::TaggedToEditor(*original_) : QString());
    // "Not in the original" only for a text that the original lacks.
    originalText_->setPlaceholderText(session_.currentLevel() != nullptr && text >= 0
                                          ? ui::InterfaceText("main", "not_in_original")
                                          : QString());
    showState();
    drawPicture();
}

void TOriginalTextPane::showState() {
    const TTranslationMarks& marks = session_.translationMarks();
    const int subFile = session_.currentSubFileIndex();
    const int text = session_.currentText();
    QString state;
    if (original_) {
        state = ui::InterfaceText(
            "main", marks.isUntranslated(subFile, text) ? "untranslated" : "translated");
    }
    stateLabel_->setText(state);
}

void TOriginalTextPane::drawPicture() {
    if (!previewButton_->isChecked() || !original_) {
        drawnKey_.reset();
        picture_ = QImage();
        pictureLabel_->clear();
        pictureLabel_->resize(0, 0);
        return;
    }
    const TWindow* window = session_.currentWindow();
    const int width = window != nullptr ? window->Width : preview::kAutomaticSize;
    const int height = window != nullptr ? window->Height : preview::kAutomaticSize;
    const bool gameView = preview_.gameView();
    // The page of the text that the text preview shows, or the original's last.
    const int page =
        gameView ? std::max(std::min(preview_.shownPage(), text::PageCount(*original_) - 1), 0) : 0;
    const TWindowColors& colors = preview_.colors();
    const PictureKey key{shown_,
                         width,
                         height,
                         gameView,
                         page,
                         static_cast<int>(preview_.names()),
                         colors.TopLeft,
                         colors.TopRight,
                         colors.BottomLeft,
                         colors.BottomRight};
    // The text preview draws at every keystroke; the original seldom changes with it.
    if (drawnKey_ == key) return;
    drawnKey_ = key;
    picture_ = gameView ? preview::DrawGameView(glyphs_, colors, *original_, width, height, page,
                                                preview_.names())
                        : preview::DrawWindowPreview(glyphs_, colors, *original_, width, height);
    pictureLabel_->setPixmap(QPixmap::fromImage(picture_));
    pictureLabel_->resize(picture_.size());
    // As wide as the picture, beside a scroll bar for a tall one.
    pictureArea_->setFixedWidth(picture_.width() + 2 * pictureArea_->frameWidth() +
                                pictureArea_->verticalScrollBar()->sizeHint().width());
}
