#include "ui/colors_form.h"

#include <QEvent>
#include <QColorDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSignalBlocker>

#include "jobs/qt_strings.h"
#include "preview/window_preview.h"
#include "ui/color_selector.h"
#include "ui/editor_text.h"
#include "ui/interface_texts.h"
#include "ui/menu_mnemonics.h"

namespace {

// The corners of the selectors, clockwise from the top left.
constexpr std::array<std::uint32_t TWindowColors::*, 4> kCorners = {
    &TWindowColors::TopLeft, &TWindowColors::TopRight, &TWindowColors::BottomRight,
    &TWindowColors::BottomLeft};

QString Text(const char* key) {
    return ui::InterfaceText(QStringLiteral("window_colors"), QString::fromLatin1(key));
}

// Window colours are 0x00BBGGRR.
QColor ToQColor(std::uint32_t color) {
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}

std::uint32_t FromQColor(const QColor& color) {
    const QColor rgb = color.toRgb();
    return static_cast<std::uint32_t>(rgb.red()) | static_cast<std::uint32_t>(rgb.green()) << 8 |
           static_cast<std::uint32_t>(rgb.blue()) << 16;
}

}  // namespace

TColorsForm::TColorsForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("colorsForm"));
    createControls();
    retranslate();
    fillList();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void TColorsForm::createControls() {
    profilesLabel = new QLabel(this);
    profilesList = new QListWidget(this);
    profilesList->setObjectName(QStringLiteral("profilesList"));
    profilesList->setEditTriggers(QAbstractItemView::DoubleClicked |
                                  QAbstractItemView::EditKeyPressed |
                                  QAbstractItemView::SelectedClicked);
    profilesLabel->setBuddy(profilesList);
    connect(profilesList, &QListWidget::currentRowChanged, this, &TColorsForm::listRowChanged);
    connect(profilesList, &QListWidget::itemClicked, this, &TColorsForm::listClick);
    connect(profilesList, &QListWidget::itemChanged, this, &TColorsForm::profileRenamed);

    const char* const names[] = {"topLeftSelector", "topRightSelector", "bottomRightSelector",
                                 "bottomLeftSelector"};
    for (int corner = 0; corner < 4; ++corner) {
        auto* selector = new TColorSelector(this);
        selector->setObjectName(QString::fromLatin1(names[corner]));
        selector->setColorDialog([this](const QColor& initial) { return chooseColor(initial); });
        connect(selector, &TColorSelector::colorChosen, this,
                [this, corner](const QColor& color) { colorChosen(corner, color); });
        colorSelectors[static_cast<std::size_t>(corner)] = selector;
    }
    previewImage = new QLabel(this);
    previewImage->setObjectName(QStringLiteral("previewImage"));
    previewImage->setFixedSize(kPreviewSize);

    const auto button = [this](const char* name, void (TColorsForm::*click)()) {
        auto* pushButton = new QPushButton(this);
        pushButton->setObjectName(QString::fromLatin1(name));
        pushButton->setAutoDefault(false);
        connect(pushButton, &QPushButton::clicked, this, click);
        return pushButton;
    };
    addButton = button("addButton", &TColorsForm::addClick);
    updateButton = button("updateButton", &TColorsForm::updateClick);
    deleteButton = button("deleteButton", &TColorsForm::deleteClick);
    randomButton = button("randomButton", &TColorsForm::randomClick);
    closeButton = button("closeButton", &TColorsForm::reject);

    auto* profileButtons = new QHBoxLayout;
    profileButtons->addWidget(addButton);
    profileButtons->addWidget(updateButton);
    profileButtons->addWidget(deleteButton);
    auto* colors = new QGridLayout;
    colors->addWidget(colorSelectors[0], 0, 0, Qt::AlignTop);
    colors->addWidget(previewImage, 0, 1, 2, 1);
    colors->addWidget(colorSelectors[1], 0, 2, Qt::AlignTop);
    colors->addWidget(colorSelectors[3], 1, 0, Qt::AlignBottom);
    colors->addWidget(colorSelectors[2], 1, 2, Qt::AlignBottom);
    colors->addWidget(randomButton, 2, 1, Qt::AlignCenter);
    auto* layout = new QGridLayout(this);
    layout->addWidget(profilesLabel, 0, 0);
    layout->addWidget(profilesList, 1, 0);
    layout->addLayout(profileButtons, 2, 0);
    layout->addLayout(colors, 1, 1, 2, 1);
    layout->addWidget(closeButton, 3, 1, Qt::AlignRight);
}

void TColorsForm::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) retranslate();
    QDialog::changeEvent(event);
}

void TColorsForm::retranslate() {
    setWindowTitle(ui::InterfaceText(QStringLiteral("general"), QStringLiteral("window_colors")));
    profilesLabel->setText(Text("profiles") + QStringLiteral(" :"));
    addButton->setText(Text("add"));
    updateButton->setText(Text("update"));
    deleteButton->setText(Text("delete"));
    randomButton->setText(Text("random"));
    closeButton->setText(Text("close"));
    ui::AssignMnemonics(*this);
    if (QListWidgetItem* first = profilesList->item(0)) {
        const QSignalBlocker block(profilesList);
        first->setText(QLatin1Char('(') + Text("default") + QLatin1Char(')'));
    }
    refresh();
}

void TColorsForm::setProfiles(TColorProfiles profiles) {
    profiles_ = std::move(profiles);
    fillList();
}

TWindowColors TColorsForm::edit(const TWindowColors& current, const preview::GlyphSets& glyphs) {
    glyphs_ = &glyphs;
    working_ = current;
    changed_ = false;
    updateButtons();
    refresh();
    // A list taking the focus makes its first entry current; without a selection that would
    // apply "(Default)" before the user chose anything.
    if (profiles_.SelectedIndex() == TColorProfiles::kNoSelection) {
        addButton->setFocus();
    } else {
        profilesList->setFocus();
    }
    exec();
    // Colours not stored in a profile are dropped, unless no entry is selected.
    listClick();
    glyphs_ = nullptr;
    return working_;
}

void TColorsForm::fillList() {
    const QSignalBlocker block(profilesList);
    profilesList->clear();
    profilesList->addItem(QLatin1Char('(') + Text("default") + QLatin1Char(')'));
    for (int i = 0; i < profiles_.Count(); ++i) {
        auto* item = new QListWidgetItem(jobs::fromUtf8(profiles_.Profile(i).Name));
        item->setFlags(item->flags() | Qt::ItemIsEditable);
        profilesList->addItem(item);
    }
    profilesList->setCurrentRow(profiles_.SelectedIndex());
    updateButtons();
}

void TColorsForm::updateButtons() {
    const bool profile = profiles_.SelectedIndex() >= 1;
    updateButton->setEnabled(profile);
    deleteButton->setEnabled(profile);
}

void TColorsForm::refresh() {
    for (std::size_t corner = 0; corner < kCorners.size(); ++corner) {
        colorSelectors[corner]->setColor(ToQColor(working_.*kCorners[corner]));
    }
    if (glyphs_ == nullptr) return;
    const std::string text = ui::EditorToTagged(Text("preview_text"));
    previewImage->setPixmap(QPixmap::fromImage(preview::DrawWindowPreview(
        *glyphs_, working_, text, kPreviewSize.width(), kPreviewSize.height())));
}

void TColorsForm::listRowChanged(int row) {
    if (row != profiles_.SelectedIndex() && !settleChanges()) {
        // The user stays on the entry whose colours are being changed.
        const QSignalBlocker block(profilesList);
        profilesList->setCurrentRow(profiles_.SelectedIndex());
        return;
    }
    {
        // Adding a profile for the changes has filled the list again.
        const QSignalBlocker block(profilesList);
        profilesList->setCurrentRow(row);
    }
    profiles_.Select(row);
    listClick();
}

void TColorsForm::listClick() {
    const int selected = profiles_.SelectedIndex();
    updateButtons();
    if (selected == TColorProfiles::kNoSelection) return;
    working_ = profiles_.WindowColors(selected);
    changed_ = false;
    refresh();
}

void TColorsForm::reject() {
    if (settleChanges()) QDialog::reject();
}

bool TColorsForm::settleChanges() {
    const int selected = profiles_.SelectedIndex();
    if (!changed_ || selected == TColorProfiles::kNoSelection ||
        working_ == profiles_.WindowColors(selected)) {
        return true;
    }
    const QString question =
        selected == 0 ? Text("store_as_new_profile")
                      : Text("update_profile").arg(jobs::fromUtf8(profiles_.Profile(selected - 1).Name));
    switch (askToStore(question)) {
        case QMessageBox::Yes:
            if (selected == 0) return addProfile();
            updateClick();
            return true;
        case QMessageBox::No:
            changed_ = false;
            return true;
        default:
            return false;
    }
}

void TColorsForm::profileRenamed(QListWidgetItem* item) {
    const int row = profilesList->row(item);
    if (row < 1) return;
    // Refused when empty or taken; only a name in use is worth a message.
    const std::string stored = TColorProfiles::StorableName(jobs::toUtf8(item->text()));
    if (!profiles_.Rename(row - 1, stored) && !stored.empty()) {
        showMessage(profileExistsMessage(stored));
    }
    // The list shows the name as stored, or the old one when the new one was refused.
    const QSignalBlocker block(profilesList);
    item->setText(jobs::fromUtf8(profiles_.Profile(row - 1).Name));
}

void TColorsForm::colorChosen(int corner, const QColor& color) {
    working_.*kCorners[static_cast<std::size_t>(corner)] = FromQColor(color);
    changed_ = true;
    refresh();
}

void TColorsForm::addClick() { addProfile(); }

bool TColorsForm::addProfile() {
    const QString prompt = Text("new_profile_name") + QStringLiteral(" :");
    for (;;) {
        const std::optional<QString> name = askProfileName(windowTitle(), prompt);
        if (!name) return false;
        const std::string stored = TColorProfiles::StorableName(jobs::toUtf8(*name));
        if (stored.empty()) continue;
        if (profiles_.Add(stored, working_)) break;
        showMessage(profileExistsMessage(stored));
    }
    fillList();
    listClick();
    return true;
}

void TColorsForm::updateClick() {
    if (profiles_.SelectedIndex() < 1) return;
    profiles_.SetColors(profiles_.SelectedIndex() - 1, working_);
    changed_ = false;
}

void TColorsForm::deleteClick() {
    if (profiles_.SelectedIndex() < 1) return;
    profiles_.Remove(profiles_.SelectedIndex() - 1);
    fillList();
    listClick();
}

void TColorsForm::randomClick() {
    QRandomGenerator& random = *QRandomGenerator::global();
    for (std::uint32_t TWindowColors::*corner : kCorners) {
        std::uint32_t color = 0;
        for (int component = 0; component < 3; ++component) {
            color |= random.bounded(255u) << (8 * component);
        }
        working_.*corner = color;
    }
    changed_ = true;
    refresh();
}

QString TColorsForm::profileExistsMessage(const std::string& name) const {
    return Text("profile_exists") + QStringLiteral(" \"") + jobs::fromUtf8(name) +
           QStringLiteral("\".");
}

std::optional<QColor> TColorsForm::chooseColor(const QColor& initial) {
    const QColor chosen = QColorDialog::getColor(initial, this);
    if (!chosen.isValid()) return std::nullopt;
    return chosen;
}

std::optional<QString> TColorsForm::askProfileName(const QString& caption, const QString& prompt) {
    bool ok = false;
    const QString name = QInputDialog::getText(this, caption, prompt, QLineEdit::Normal, {}, &ok);
    if (!ok) return std::nullopt;
    return name;
}

void TColorsForm::showMessage(const QString& text) {
    QMessageBox::warning(this, windowTitle(), text);
}

QMessageBox::StandardButton TColorsForm::askToStore(const QString& question) {
    return QMessageBox::question(this, windowTitle(), question,
                                 QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                 QMessageBox::Yes);
}
