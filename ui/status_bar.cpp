#include "ui/status_bar.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>

#include "jobs/qt_strings.h"
#include "lgp/archive_counts.h"
#include "lgp/lgp_file.h"
#include "ui/archive_session.h"
#include "ui/interface_texts.h"

namespace {

constexpr int kStatusPanelWidth = 350;
constexpr int kCreatorPanelWidth = 150;
// The progress bar sits at (3, 3) in the first panel, a third of its width, 5 pixels less high
// than the status bar; the status text starts 8 pixels after it.
constexpr int kProgressBarOffset = 3;
constexpr int kProgressBarHeightLess = 5;
constexpr int kStatusTextGap = 8;

}  // namespace

void TStatusBar::follow(const TArchiveSession& session) {
    connect(&session, &TArchiveSession::jobStarted, this, &TStatusBar::startProgress);
    connect(&session, &TArchiveSession::jobProgress, this, &TStatusBar::setProgress);
    connect(&session, &TArchiveSession::jobEnded, this, &TStatusBar::endProgress);
    connect(&session, &TArchiveSession::opened, this, [this, &session] {
        const TLGPFile& archive = *session.archive();
        const lgp::ArchiveCounts counts = lgp::CountArchive(archive);
        setCounts(counts.levels, counts.texts);
        setCreator(jobs::fromWindows1252(archive.Creator));
    });
    connect(&session, &TArchiveSession::textSelected, this, &TStatusBar::clearNotice);
    connect(&session, &TArchiveSession::textEdited, this, &TStatusBar::clearNotice);
}

TStatusBar::TStatusBar(QWidget* parent) : QStatusBar(parent) {
    setObjectName(QStringLiteral("statusBar"));
    setSizeGripEnabled(true);
    for (QLabel*& panel : panels_) {
        panel = new QLabel;
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
    }
    panels_[0]->setObjectName(QStringLiteral("statusPanel"));
    panels_[1]->setObjectName(QStringLiteral("creatorPanel"));
    panels_[2]->setObjectName(QStringLiteral("countsPanel"));
    panels_[0]->setFixedWidth(kStatusPanelWidth);
    panels_[1]->setFixedWidth(kCreatorPanelWidth);
    addWidget(panels_[0]);
    addWidget(panels_[1]);
    addWidget(panels_[2], 1);

    progressBar_ = new QProgressBar(panels_[0]);
    progressBar_->setObjectName(QStringLiteral("progressBar"));
    progressBar_->setRange(0, 100);
    progressBar_->setTextVisible(false);
    progressBar_->hide();
    panels_[0]->setIndent(0);
    panels_[0]->setContentsMargins(kStatusPanelWidth / 3 + kStatusTextGap, 0, 0, 0);
}

void TStatusBar::startProgress(const QString& statusText) {
    progressBar_->setValue(0);
    progressBar_->show();
    jobText_ = statusText;
    showStatus();
}

void TStatusBar::setProgress(int percent) { progressBar_->setValue(percent); }

void TStatusBar::endProgress() {
    progressBar_->hide();
    progressBar_->setValue(0);
    showStatus();
}

void TStatusBar::setStatusMessage(const QString& text) {
    message_ = text;
    panels_[0]->setToolTip(text);
    showStatus();
}

void TStatusBar::setWaitingNote(const QString& note) {
    waitingNote_ = note;
    showStatus();
}

void TStatusBar::showStatus() {
    const QString status = progressBar_->isHidden() ? idleText() : jobText_;
    if (waitingNote_.isEmpty()) {
        panels_[0]->setText(status);
    } else if (status.isEmpty()) {
        panels_[0]->setText(waitingNote_);
    } else {
        panels_[0]->setText(status + QStringLiteral(" (") + waitingNote_ + QStringLiteral(")"));
    }
}

void TStatusBar::showNotice(const QString& text) {
    notice_ = text;
    showStatus();
}

void TStatusBar::clearNotice() {
    if (notice_.isEmpty()) return;
    notice_.clear();
    showStatus();
}

QString TStatusBar::idleText() const { return notice_.isEmpty() ? message_ : notice_; }

void TStatusBar::setCreator(const QString& creator) { panels_[1]->setText(creator); }

void TStatusBar::setCounts(int levels, int texts) {
    levels_ = levels;
    texts_ = texts;
    retranslate();
}

QString TStatusBar::statusText() const { return panels_[0]->text(); }
QString TStatusBar::creatorText() const { return panels_[1]->text(); }
QString TStatusBar::countsText() const { return panels_[2]->text(); }
bool TStatusBar::isProgressShown() const { return !progressBar_->isHidden(); }

void TStatusBar::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) retranslate();
    QStatusBar::changeEvent(event);
}

void TStatusBar::retranslate() {
    if (levels_ < 0 || texts_ < 0) {
        panels_[2]->clear();
        return;
    }
    const QLocale locale;
    panels_[2]->setText(
        QStringLiteral("%1 %2 / %3 %4")
            .arg(locale.toString(levels_), ui::InterfaceText("main", "levels").toLower(),
                 locale.toString(texts_), ui::InterfaceText("main", "texts").toLower()));
}

void TStatusBar::resizeEvent(QResizeEvent* event) {
    QStatusBar::resizeEvent(event);
    placeProgressBar();
}

void TStatusBar::placeProgressBar() {
    progressBar_->setGeometry(kProgressBarOffset, kProgressBarOffset, kStatusPanelWidth / 3,
                              height() - kProgressBarHeightLess);
}
