#include "ui/replace_form.h"

#include <initializer_list>

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QVBoxLayout>

#include "ui/game_text_edit.h"
#include "ui/interface_texts.h"
#include "ui/menu_mnemonics.h"

namespace {

QString Text(const char* section, const char* key) {
    return ui::InterfaceText(QString::fromLatin1(section), QString::fromLatin1(key));
}

}  // namespace

TReplaceForm::TReplaceForm(QWidget* parent)
    : TSearchDialog(QStringLiteral("replaceForm"), QStringLiteral("replaceEdit"), 479, 199,
                    parent) {
    replaceLabel_ = new QLabel(this);
    replaceLabel_->setObjectName(QStringLiteral("replaceLabel"));
    withLabel_ = new QLabel(this);
    withLabel_->setObjectName(QStringLiteral("withLabel"));
    withEdit_ = makeEdit(QStringLiteral("withEdit"));
    replaceButton_ = makeButton(QStringLiteral("replaceButton"));
    replaceAllButton_ = makeButton(QStringLiteral("replaceAllButton"));
    replaceLabel_->setBuddy(searchEdit_);
    withLabel_->setBuddy(withEdit_);

    auto* buttons = new QVBoxLayout;
    for (QPushButton* button :
         {findButton_, nextButton_, previousButton_, replaceButton_, replaceAllButton_}) {
        buttons->addWidget(button);
    }
    buttons->addStretch();
    auto* layout = new QGridLayout(this);
    layout->addWidget(replaceLabel_, 0, 0, Qt::AlignTop);
    layout->addWidget(searchEdit_, 0, 1);
    layout->addWidget(withLabel_, 1, 0, Qt::AlignTop);
    layout->addWidget(withEdit_, 1, 1);
    layout->addWidget(matchCaseBox_, 2, 1);
    layout->addLayout(buttons, 0, 2, 3, 1);
    layout->setRowStretch(3, 1);
    QWidget* previous = searchEdit_;
    for (QWidget* next :
         std::initializer_list<QWidget*>{withEdit_, matchCaseBox_, findButton_, nextButton_,
                                         previousButton_, replaceButton_, replaceAllButton_}) {
        setTabOrder(previous, next);
        previous = next;
    }

    connect(replaceButton_, &QPushButton::clicked, this,
            [this] { emit replaceRequested(replacement()); });
    connect(replaceAllButton_, &QPushButton::clicked, this,
            [this] { emit replaceAllRequested(searchText(), replacement(), matchCase()); });
    retranslate();
}

QString TReplaceForm::replacement() const { return withEdit_->toPlainText(); }

void TReplaceForm::retranslate() {
    TSearchDialog::retranslate();
    const QString replace = Text("replace", "replace");
    setWindowTitle(replace);
    replaceLabel_->setText(replace + QStringLiteral(" :"));
    withLabel_->setText(Text("replace", "with") + QStringLiteral(" :"));
    replaceButton_->setText(replace);
    replaceAllButton_->setText(Text("replace", "replace_all"));
    ui::AssignMnemonics(*this);
}

void TReplaceForm::replaceSelection(QPlainTextEdit& editor, const QString& replacement) {
    if (!editor.isEnabled() || editor.isReadOnly()) return;
    QTextCursor cursor = editor.textCursor();
    const int start = cursor.selectionStart();
    cursor.insertText(replacement);
    cursor.setPosition(start);
    cursor.setPosition(start + static_cast<int>(replacement.size()), QTextCursor::KeepAnchor);
    editor.setTextCursor(cursor);
}

QString TReplaceForm::resultMessage(int changed) {
    if (changed == 0) return Text("messages", "no_text_modified");
    if (changed == 1) return QStringLiteral("1 ") + Text("messages", "text_modified");
    return QLocale().toString(changed) + QStringLiteral(" ") + Text("messages", "texts_modified");
}

void TReplaceForm::updateButtons() {
    TSearchDialog::updateButtons();
    const bool present = !searchEdit_->document()->isEmpty();
    replaceButton_->setEnabled(present);
    replaceAllButton_->setEnabled(present);
}
