#include "ui/text_preview_pane.h"

#include <QEvent>
#include <QCheckBox>
#include <QComboBox>
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
#include "ui/overflow_hints.h"
#include "ui/overflow_marks.h"

TTextPreviewPane::TTextPreviewPane(TArchiveSession& session, const preview::GlyphSets& glyphs,
                                   QWidget* parent)
    : QGroupBox(parent), session_(session), glyphs_(glyphs) {
    setObjectName(QStringLiteral("textPreview"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 2, 6, 4);
    scrollArea_ = new QScrollArea;
    scrollArea_->setObjectName(QStringLiteral("textPreviewArea"));
    // A window of three lines, the most common, shows whole; the splitter above makes it taller.
    scrollArea_->setMinimumHeight(text::WindowHeightForLines(3) + 2 * scrollArea_->frameWidth());
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
    gameViewBox_ = new QCheckBox;
    gameViewBox_->setObjectName(QStringLiteral("gameViewBox"));
    pageLabel_ = new QLabel;
    pageLabel_->setObjectName(QStringLiteral("pageLabel"));
    namesChoice_ = new QComboBox;
    namesChoice_->setObjectName(QStringLiteral("namesChoice"));
    namesChoice_->addItem(QString(), static_cast<int>(text::CharacterNames::Default));
    namesChoice_->addItem(QString(), static_cast<int>(text::CharacterNames::Widest));
    // Labels above, the controls beside each other: it all fits the smallest pane.
    windows->addWidget(windowLabel_, 0, 0, 1, 2);
    windows->addWidget(windowSelector_, 1, 0);
    windows->addWidget(windowButton_, 1, 1);
    windows->addWidget(gameViewBox_, 0, 2);
    windows->addWidget(pageLabel_, 0, 3);
    windows->addWidget(namesChoice_, 1, 2, 1, 2);
    windows->setRowStretch(2, 1);
    layout->addLayout(windows);

    connect(windowSelector_, &QSpinBox::valueChanged, this,
            [this](int value) { session_.selectWindow(value - 1); });
    connect(windowButton_, &QToolButton::clicked, this, &TTextPreviewPane::modifyWindowRequested);
    connect(gameViewBox_, &QCheckBox::toggled, this, &TTextPreviewPane::redraw);
    connect(namesChoice_, &QComboBox::currentIndexChanged, this, [this] {
        session_.overflowMarks().setNames(names());
        redraw();
    });
    connect(&session_, &TArchiveSession::textSelected, this, [this] {
        // A text is shown with the caret at its start.
        caret_ = 0;
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

void TTextPreviewPane::setGameView(bool on) { gameViewBox_->setChecked(on); }

bool TTextPreviewPane::gameView() const { return gameViewBox_->isChecked(); }

void TTextPreviewPane::setNames(text::CharacterNames names) {
    namesChoice_->setCurrentIndex(namesChoice_->findData(static_cast<int>(names)));
}

text::CharacterNames TTextPreviewPane::names() const {
    return static_cast<text::CharacterNames>(namesChoice_->currentData().toInt());
}

void TTextPreviewPane::setCaretPosition(std::size_t taggedPosition) {
    caret_ = taggedPosition;
    if (shownPage_ >= 0 && caretPage() != shownPage_) redraw();
}

int TTextPreviewPane::caretPage() const { return text::PageAt(session_.currentTagged(), caret_); }

void TTextPreviewPane::redraw() {
    picture_ = QImage();
    shownPage_ = -1;
    QString page;
    if (shown_ && session_.currentLevel() != nullptr && session_.currentText() >= 0) {
        const TWindow* window = session_.currentWindow();
        const int width = window != nullptr ? window->Width : preview::kAutomaticSize;
        const int height = window != nullptr ? window->Height : preview::kAutomaticSize;
        const std::string& tagged = session_.currentTagged();
        if (gameView()) {
            shownPage_ = caretPage();
            picture_ =
                preview::DrawGameView(glyphs_, colors_, tagged, width, height, shownPage_, names());
            page = ui::PageCaption(shownPage_, text::PageCount(tagged));
        } else {
            picture_ = preview::DrawWindowPreview(glyphs_, colors_, tagged, width, height);
        }
    }
    pageLabel_->setText(page);
    if (picture_.isNull()) {
        pictureLabel_->clear();
        pictureLabel_->resize(0, 0);
    } else {
        pictureLabel_->setPixmap(QPixmap::fromImage(picture_));
        pictureLabel_->resize(picture_.size());
    }
    emit drawn();
}

void TTextPreviewPane::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) retranslate();
    QGroupBox::changeEvent(event);
}

void TTextPreviewPane::retranslate() {
    setTitle(ui::InterfaceText("main", "text_preview"));
    windowLabel_->setText(ui::InterfaceText("main", "window"));
    windowButton_->setToolTip(ui::InterfaceText("main", "modify_window_size_position"));
    gameViewBox_->setText(ui::InterfaceText("main", "game_view"));
    gameViewBox_->setToolTip(ui::InterfaceText("main", "game_view_hint"));
    namesChoice_->setItemText(0, ui::InterfaceText("main", "default_names"));
    namesChoice_->setItemText(1, ui::InterfaceText("main", "widest_names"));
    namesChoice_->setToolTip(ui::InterfaceText("main", "names_hint"));
    // The page caption follows the language too.
    if (shownPage_ >= 0) redraw();
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
