#include "ui/about_form.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

#include "jobs/qt_strings.h"
#include "platform/program_version.h"
#include "ui/interface_texts.h"

namespace {

constexpr int kClientWidth = 300;
constexpr int kClientHeight = 150;
constexpr int kImageSize = 48;

}  // namespace

TAboutForm::TAboutForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("aboutForm"));
    setFixedSize(kClientWidth, kClientHeight);

    image_ = new QLabel(this);
    image_->setFixedSize(kImageSize, kImageSize);
    image_->setPixmap(QPixmap(QStringLiteral(":/images/orvenne_48.png")));

    version_ = new QLabel(jobs::fromUtf8(platform::kProgramTitle), this);
    version_->setObjectName(QStringLiteral("versionLabel"));
    QFont bold = version_->font();
    bold.setBold(true);
    version_->setFont(bold);

    credit_ = new QLabel(this);
    credit_->setObjectName(QStringLiteral("creditLabel"));

    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    okButton_->setDefault(true);
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(image_, 0, 0, 2, 1, Qt::AlignTop);
    layout->addWidget(version_, 0, 1);
    layout->addWidget(credit_, 1, 1);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(2, 1);
    layout->addWidget(okButton_, 3, 0, 1, 2, Qt::AlignCenter);
    retranslate();
}

void TAboutForm::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) retranslate();
    QDialog::changeEvent(event);
}

void TAboutForm::retranslate() {
    setWindowTitle(ui::InterfaceText("general", "about") + QStringLiteral("..."));
    // The credit names no person: the program is the work of its contributors.
    credit_->setText(ui::InterfaceText("about", "by") + QStringLiteral(" ") +
                     jobs::fromUtf8(platform::kProgramName) + QStringLiteral(" contributors"));
}
