#include "ui/find_form.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/game_text_edit.h"
#include "ui/interface_texts.h"
#include "ui/menu_mnemonics.h"

TFindForm::TFindForm(QWidget* parent)
    : TSearchDialog(QStringLiteral("findForm"), QStringLiteral("findEdit"), 479, 123, parent) {
    findLabel_ = new QLabel(this);
    findLabel_->setObjectName(QStringLiteral("findLabel"));
    findLabel_->setBuddy(searchEdit_);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(findButton_);
    buttons->addWidget(nextButton_);
    buttons->addWidget(previousButton_);
    buttons->addStretch();
    auto* layout = new QGridLayout(this);
    layout->addWidget(findLabel_, 0, 0, Qt::AlignTop);
    layout->addWidget(searchEdit_, 0, 1);
    layout->addWidget(matchCaseBox_, 1, 1);
    layout->addLayout(buttons, 0, 2, 2, 1);
    layout->setRowStretch(2, 1);
    setTabOrder(searchEdit_, matchCaseBox_);
    setTabOrder(matchCaseBox_, findButton_);
    setTabOrder(findButton_, nextButton_);
    setTabOrder(nextButton_, previousButton_);
    retranslate();
}

void TFindForm::retranslate() {
    TSearchDialog::retranslate();
    const QString find = ui::InterfaceText(QStringLiteral("find"), QStringLiteral("find"));
    setWindowTitle(find);
    findLabel_->setText(find + QStringLiteral(" :"));
    ui::AssignMnemonics(*this);
}

void TFindForm::updateButtons() {
    TSearchDialog::updateButtons();
    emit searchTextChanged(!searchEdit_->document()->isEmpty());
}
