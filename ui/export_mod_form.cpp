#include "ui/export_mod_form.h"

#include <QEvent>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "ui/interface_texts.h"
#include "ui/menu_mnemonics.h"

namespace {

constexpr int kFieldWidth = 320;
// The explanations stand under their buttons' captions.
constexpr int kHintIndent = 22;

QString Text(const char* key) { return ui::InterfaceText("export_mod", key); }

struct LayoutWords {
    const char* name;
    const char* caption;
    const char* hint;
};

constexpr std::array<LayoutWords, 3> kLayouts = {{
    {"directButton", "direct", "direct_hint"},
    {"chunksButton", "chunks", "chunks_hint"},
    {"modButton", "mod", "mod_hint"},
}};

}  // namespace

TExportModForm::TExportModForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("exportModForm"));
    const auto field = [this](const char* name) {
        auto* edit = new QLineEdit;
        edit->setObjectName(QString::fromLatin1(name));
        edit->setMinimumWidth(kFieldWidth);
        connect(edit, &QLineEdit::textChanged, this, &TExportModForm::updateButtons);
        return edit;
    };
    originalLabel_ = new QLabel;
    originalField_ = field("originalField");
    originalButton_ = new QPushButton;
    originalButton_->setObjectName(QStringLiteral("originalButton"));
    connect(originalButton_, &QPushButton::clicked, this, &TExportModForm::browseOriginal);
    folderLabel_ = new QLabel;
    folderField_ = field("folderField");
    folderButton_ = new QPushButton;
    folderButton_->setObjectName(QStringLiteral("folderButton"));
    connect(folderButton_, &QPushButton::clicked, this, &TExportModForm::browseFolder);
    layoutLabel_ = new QLabel;

    auto* grid = new QGridLayout(this);
    grid->addWidget(originalLabel_, 0, 0);
    grid->addWidget(originalField_, 0, 1);
    grid->addWidget(originalButton_, 0, 2);
    grid->addWidget(folderLabel_, 1, 0);
    grid->addWidget(folderField_, 1, 1);
    grid->addWidget(folderButton_, 1, 2);
    grid->addWidget(layoutLabel_, 2, 0, Qt::AlignTop);
    for (std::size_t i = 0; i < kLayouts.size(); ++i) {
        layoutButtons_[i] = new QRadioButton;
        layoutButtons_[i]->setObjectName(QString::fromLatin1(kLayouts[i].name));
        layoutHints_[i] = new QLabel;
        layoutHints_[i]->setIndent(kHintIndent);
        layoutHints_[i]->setEnabled(false);
        const int row = 2 + 2 * static_cast<int>(i);
        grid->addWidget(layoutButtons_[i], row, 1, 1, 2);
        grid->addWidget(layoutHints_[i], row + 1, 1, 1, 2);
    }
    // Chunks keep what other mods change in the same levels.
    layoutButtons_[static_cast<std::size_t>(lgp::ModLayout::Chunks)]->setChecked(true);

    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons_->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("okButton"));
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    grid->addWidget(buttons_, 2 + 2 * static_cast<int>(kLayouts.size()), 0, 1, 3);
    retranslate();
    updateButtons();
}

std::optional<TModExportRequest> TExportModForm::ask(const QString& original) {
    if (!original.isEmpty()) originalField_->setText(original);
    if (exec() != QDialog::Accepted) return std::nullopt;
    TModExportRequest request{originalField_->text(), folderField_->text()};
    for (std::size_t i = 0; i < layoutButtons_.size(); ++i) {
        if (layoutButtons_[i]->isChecked()) request.layout = static_cast<lgp::ModLayout>(i);
    }
    return request;
}

void TExportModForm::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) retranslate();
    QDialog::changeEvent(event);
}

void TExportModForm::retranslate() {
    setWindowTitle(ui::InterfaceText("general", "export_mod_folder"));
    originalLabel_->setText(Text("original_archive"));
    folderLabel_->setText(Text("output_folder"));
    layoutLabel_->setText(Text("layout"));
    originalButton_->setText(Text("browse") + QStringLiteral("..."));
    folderButton_->setText(Text("browse") + QStringLiteral("..."));
    for (std::size_t i = 0; i < kLayouts.size(); ++i) {
        layoutButtons_[i]->setText(Text(kLayouts[i].caption));
        layoutHints_[i]->setText(Text(kLayouts[i].hint));
    }
    buttons_->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons_->button(QDialogButtonBox::Cancel)->setText(ui::InterfaceText("general", "cancel"));
    ui::AssignMnemonics(*this);
}

void TExportModForm::browseOriginal() {
    const QString filter = ui::InterfaceText("general", "lgp_files") +
                           QStringLiteral(" (*.lgp);;") +
                           ui::InterfaceText("general", "all_files") + QStringLiteral(" (*)");
    const QString chosen = QFileDialog::getOpenFileName(
        this, Text("original_archive"), QFileInfo(originalField_->text()).absolutePath(), filter);
    if (!chosen.isEmpty()) originalField_->setText(chosen);
}

void TExportModForm::browseFolder() {
    const QString chosen =
        QFileDialog::getExistingDirectory(this, Text("output_folder"), folderField_->text());
    if (!chosen.isEmpty()) folderField_->setText(chosen);
}

void TExportModForm::updateButtons() {
    buttons_->button(QDialogButtonBox::Ok)
        ->setEnabled(!originalField_->text().isEmpty() && !folderField_->text().isEmpty());
}

namespace ui {

QString ModExportResultText(const QStringList& levels, const QString& folder) {
    if (levels.isEmpty()) return InterfaceText("messages", "mod_folder_no_difference");
    return InterfaceText("messages", levels.size() == 1 ? "mod_folder_level" : "mod_folder_levels")
        .arg(QString::number(levels.size()), folder);
}

}  // namespace ui
