#include "ui/search_dialog.h"

#include <algorithm>

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QWindow>

#include "ui/game_text_edit.h"
#include "ui/interface_texts.h"

namespace {

constexpr int kEditWidth = 289;
constexpr int kEditHeight = 65;
constexpr int kButtonWidth = 90;
constexpr int kButtonHeight = 24;

}  // namespace

TSearchDialog::TSearchDialog(const QString& objectName, const QString& searchEditName,
                             int clientWidth, int clientHeight, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      clientWidth_(clientWidth), clientHeight_(clientHeight) {
    setObjectName(objectName);
    setFixedSize(clientWidth, clientHeight);
    searchEdit_ = makeEdit(searchEditName);
    findButton_ = makeButton(QStringLiteral("findButton"));
    nextButton_ = makeButton(QStringLiteral("nextButton"));
    previousButton_ = makeButton(QStringLiteral("previousButton"));
    matchCaseBox_ = new QCheckBox(this);
    matchCaseBox_->setObjectName(QStringLiteral("matchCaseBox"));

    findButton_->setDefault(true);

    connect(findButton_, &QPushButton::clicked, this, [this] {
        // Enter then walks on from the first hit.
        nextButton_->setDefault(true);
        emit findRequested(searchText(), matchCase(), lgp::FindMode::FromStart);
    });
    connect(nextButton_, &QPushButton::clicked, this, &TSearchDialog::findNext);
    connect(previousButton_, &QPushButton::clicked, this, &TSearchDialog::findPrevious);
    connect(searchEdit_, &QPlainTextEdit::textChanged, this, [this] {
        findButton_->setDefault(true);
        updateButtons();
    });
}

QString TSearchDialog::searchText() const { return searchEdit_->toPlainText(); }

void TSearchDialog::setSearchText(const QString& text) { searchEdit_->setPlainText(text); }

bool TSearchDialog::matchCase() const { return matchCaseBox_->isChecked(); }

void TSearchDialog::findNext() {
    emit findRequested(searchText(), matchCase(), lgp::FindMode::Next);
}

void TSearchDialog::findPrevious() {
    emit findRequested(searchText(), matchCase(), lgp::FindMode::Previous);
}

void TSearchDialog::showMessage(QMessageBox::Icon icon, const QString& text,
                                const QString& detail) {
    QMessageBox box(icon, QApplication::applicationDisplayName(), text, QMessageBox::Ok,
                    isVisible() ? this : parentWidget());
    box.setInformativeText(detail);
    runMessage(box);
}

bool TSearchDialog::ask(const QString& question) {
    QMessageBox box(QMessageBox::Question, QApplication::applicationDisplayName(), question,
                    QMessageBox::Yes | QMessageBox::No, isVisible() ? this : parentWidget());
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    runMessage(box);
    return box.clickedButton() == box.button(QMessageBox::Yes);
}

void TSearchDialog::runMessage(QMessageBox& box) {
    // The native window changes its style in place; the widget's own flags would hide it.
    QWindow* window = isVisible() ? windowHandle() : nullptr;
    const bool onTop = window != nullptr && window->flags().testFlag(Qt::WindowStaysOnTopHint);
    if (onTop) window->setFlag(Qt::WindowStaysOnTopHint, false);
    execMessage(box);
    if (onTop) window->setFlag(Qt::WindowStaysOnTopHint, true);
}

void TSearchDialog::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        retranslate();
        fitToCaptions();
    }
    QDialog::changeEvent(event);
}

void TSearchDialog::fitToCaptions() {
    if (layout() == nullptr) return;
    for (QPushButton* button : findChildren<QPushButton*>()) {
        button->setMinimumWidth(std::max(kButtonWidth, button->sizeHint().width()));
    }
    setFixedSize(std::max(clientWidth_, layout()->totalMinimumSize().width()), clientHeight_);
}

void TSearchDialog::retranslate() {
    findButton_->setText(ui::InterfaceText(QStringLiteral("find"), QStringLiteral("find")));
    nextButton_->setText(ui::InterfaceText(QStringLiteral("find"), QStringLiteral("next")));
    previousButton_->setText(ui::InterfaceText(QStringLiteral("find"), QStringLiteral("previous")));
    matchCaseBox_->setText(ui::InterfaceText(QStringLiteral("find"), QStringLiteral("match_case")));
}

void TSearchDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Coming back from the task bar is no new opening.
    if (event->spontaneous()) return;
    fitToCaptions();
    if (const QWidget* owner = parentWidget()) {
        QRect frame = frameGeometry();
        frame.moveCenter(owner->frameGeometry().center());
        move(frame.topLeft());
    }
    searchEdit_->selectAll();
    searchEdit_->setFocus();
}

void TSearchDialog::execMessage(QMessageBox& box) { box.exec(); }

void TSearchDialog::updateButtons() {
    const bool present = !searchEdit_->document()->isEmpty();
    findButton_->setEnabled(present);
    nextButton_->setEnabled(present);
    previousButton_->setEnabled(present);
}

TGameTextEdit* TSearchDialog::makeEdit(const QString& objectName) {
    auto* edit = new TGameTextEdit(this);
    edit->setObjectName(objectName);
    edit->setFixedSize(kEditWidth, kEditHeight);
    edit->setLineWrapMode(QPlainTextEdit::NoWrap);
    edit->setFieldKeys(true);
    connect(edit, &TGameTextEdit::charactersLeftOut, this, &TSearchDialog::charactersLeftOut);
    return edit;
}

QPushButton* TSearchDialog::makeButton(const QString& objectName) {
    auto* button = new QPushButton(this);
    button->setObjectName(objectName);
    // As wide as its caption needs, when that is wider (fitToCaptions).
    button->setMinimumWidth(kButtonWidth);
    button->setFixedHeight(kButtonHeight);
    // Enter on a button that has the focus runs that button.
    button->setAutoDefault(true);
    button->setEnabled(false);
    return button;
}
