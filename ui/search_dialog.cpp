#include "ui/search_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QWindow>

#include "ui/interface_texts.h"

namespace {

constexpr int kMemoWidth = 289;
constexpr int kMemoHeight = 65;
constexpr int kButtonWidth = 90;
constexpr int kButtonHeight = 24;

}  // namespace

TSearchDialog::TSearchDialog(const QString& objectName, const QString& searchMemoName,
                             int clientWidth, int clientHeight, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint) {
    setObjectName(objectName);
    setFixedSize(clientWidth, clientHeight);
    searchMemo_ = MakeMemo(searchMemoName);
    findButton_ = MakeButton(QStringLiteral("ButtonFind"));
    nextButton_ = MakeButton(QStringLiteral("ButtonNext"));
    previousButton_ = MakeButton(QStringLiteral("ButtonPrevious"));
    matchCaseBox_ = new QCheckBox(this);
    matchCaseBox_->setObjectName(QStringLiteral("CheckBoxMatchCase"));

    connect(findButton_, &QPushButton::clicked, this,
            [this] { emit findRequested(SearchText(), MatchCase(), FindMode::FromStart); });
    connect(nextButton_, &QPushButton::clicked, this, &TSearchDialog::FindNext);
    connect(previousButton_, &QPushButton::clicked, this, &TSearchDialog::FindPrevious);
    connect(searchMemo_, &QPlainTextEdit::textChanged, this, [this] { UpdateButtons(); });
}

QString TSearchDialog::SearchText() const { return searchMemo_->toPlainText(); }

bool TSearchDialog::MatchCase() const { return matchCaseBox_->isChecked(); }

void TSearchDialog::FindNext() { emit findRequested(SearchText(), MatchCase(), FindMode::Next); }

void TSearchDialog::FindPrevious() {
    emit findRequested(SearchText(), MatchCase(), FindMode::Previous);
}

void TSearchDialog::ShowMessage(QMessageBox::Icon icon, const QString& text,
                                const QString& detail) {
    // The native window changes its style in place; the widget's own flags would hide it.
    QWindow* window = isVisible() ? windowHandle() : nullptr;
    const bool onTop = window != nullptr && window->flags().testFlag(Qt::WindowStaysOnTopHint);
    if (onTop) window->setFlag(Qt::WindowStaysOnTopHint, false);
    QMessageBox box(icon, QApplication::applicationDisplayName(), text, QMessageBox::Ok,
                    isVisible() ? this : parentWidget());
    box.setInformativeText(detail);
    ExecMessage(box);
    if (onTop) window->setFlag(Qt::WindowStaysOnTopHint, true);
}

void TSearchDialog::retranslate() {
    findButton_->setText(InterfaceText(QStringLiteral("find"), QStringLiteral("find")));
    nextButton_->setText(InterfaceText(QStringLiteral("find"), QStringLiteral("next")));
    previousButton_->setText(InterfaceText(QStringLiteral("find"), QStringLiteral("previous")));
    matchCaseBox_->setText(InterfaceText(QStringLiteral("find"), QStringLiteral("match_case")));
}

void TSearchDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Coming back from the task bar is no new opening.
    if (event->spontaneous()) return;
    if (const QWidget* owner = parentWidget()) {
        QRect frame = frameGeometry();
        frame.moveCenter(owner->frameGeometry().center());
        move(frame.topLeft());
    }
    searchMemo_->selectAll();
    searchMemo_->setFocus();
}

void TSearchDialog::ExecMessage(QMessageBox& box) { box.exec(); }

void TSearchDialog::UpdateButtons() {
    const bool present = !searchMemo_->document()->isEmpty();
    findButton_->setEnabled(present);
    nextButton_->setEnabled(present);
    previousButton_->setEnabled(present);
}

QPlainTextEdit* TSearchDialog::MakeMemo(const QString& objectName) {
    auto* memo = new QPlainTextEdit(this);
    memo->setObjectName(objectName);
    memo->setFixedSize(kMemoWidth, kMemoHeight);
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo->setTabChangesFocus(false);
    return memo;
}

QPushButton* TSearchDialog::MakeButton(const QString& objectName) {
    auto* button = new QPushButton(this);
    button->setObjectName(objectName);
    button->setFixedSize(kButtonWidth, kButtonHeight);
    button->setAutoDefault(false);
    button->setEnabled(false);
    return button;
}
