#include "ui/about_form.h"

#include <QGridLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

#include "platform/program_version.h"
#include "ui/interface_texts.h"

namespace {

constexpr int kClientWidth = 300;
constexpr int kClientHeight = 150;
constexpr int kImageSize = 48;

QString FromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

TAboutForm::TAboutForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("AboutForm"));
    setWindowTitle(InterfaceText(QStringLiteral("general"), QStringLiteral("about")) +
                   QStringLiteral("..."));
    setFixedSize(kClientWidth, kClientHeight);

    ImageProgram = new QLabel(this);
    ImageProgram->setObjectName(QStringLiteral("ImageProgram"));
    ImageProgram->setFixedSize(kImageSize, kImageSize);
    ImageProgram->setPixmap(QPixmap(QStringLiteral(":/images/orvenne_48.png")));

    LabelVersion = new QLabel(FromView(platform::kProgramTitle), this);
    LabelVersion->setObjectName(QStringLiteral("LabelVersion"));
    QFont bold = LabelVersion->font();
    bold.setBold(true);
    LabelVersion->setFont(bold);

    // The credit names no person: the program is the work of its contributors.
    LabelBy = new QLabel(InterfaceText(QStringLiteral("about"), QStringLiteral("by")) +
                             QStringLiteral(" ") + FromView(platform::kProgramName) +
                             QStringLiteral(" contributors"),
                         this);
    LabelBy->setObjectName(QStringLiteral("LabelBy"));

    ButtonOK = new QPushButton(QStringLiteral("OK"), this);
    ButtonOK->setObjectName(QStringLiteral("ButtonOK"));
    ButtonOK->setDefault(true);
    connect(ButtonOK, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(ImageProgram, 0, 0, 2, 1, Qt::AlignTop);
    layout->addWidget(LabelVersion, 0, 1);
    layout->addWidget(LabelBy, 1, 1);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(2, 1);
    layout->addWidget(ButtonOK, 3, 0, 1, 2, Qt::AlignCenter);
}
