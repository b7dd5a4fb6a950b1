#include "ui/color_selector.h"

#include <QEvent>
#include <QGridLayout>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QWidgetAction>

#include "ui/interface_texts.h"

namespace {

constexpr int kColumns = 8;
constexpr QSize kSwatchSize(14, 14);
constexpr QSize kFaceSize(32, 14);

QIcon Swatch(const QColor& color, QSize size) {
    QPixmap pixmap(size);
    pixmap.fill(color);
    QPainter painter(&pixmap);
    painter.setPen(QColor(96, 96, 96));
    painter.drawRect(0, 0, size.width() - 1, size.height() - 1);
    return QIcon(pixmap);
}

QString Text(const char* key) {
    return ui::InterfaceText(QStringLiteral("window_colors"), QString::fromLatin1(key)) +
           QStringLiteral("...");
}

}  // namespace

TColorSelector::TColorSelector(QWidget* parent) : QToolButton(parent) {
    setPopupMode(QToolButton::InstantPopup);
    setIconSize(kFaceSize);
    colorMenu = new QMenu(this);
    colorMenu->setObjectName(QStringLiteral("colorMenu"));

    defaultItem = colorMenu->addAction(QString());
    defaultItem->setObjectName(QStringLiteral("defaultItem"));
    connect(defaultItem, &QAction::triggered, this, [this] { choose(Qt::black); });

    auto* grid = new QWidget(colorMenu);
    auto* layout = new QGridLayout(grid);
    layout->setSpacing(2);
    layout->setContentsMargins(4, 2, 4, 2);
    for (int i = 0; i < static_cast<int>(kPresetColors.size()); ++i) {
        const QColor preset(kPresetColors[static_cast<std::size_t>(i)]);
        auto* button = new QToolButton(grid);
        button->setObjectName(QStringLiteral("presetColor%1").arg(i));
        button->setAutoRaise(true);
        button->setIconSize(kSwatchSize);
        button->setIcon(Swatch(preset, kSwatchSize));
        button->setToolTip(preset.name(QColor::HexRgb).mid(1).toUpper());
        connect(button, &QToolButton::clicked, this, [this, preset] {
            colorMenu->close();
            choose(preset);
        });
        layout->addWidget(button, i / kColumns, i % kColumns);
    }
    auto* gridItem = new QWidgetAction(colorMenu);
    gridItem->setDefaultWidget(grid);
    colorMenu->addAction(gridItem);

    moreItem = colorMenu->addAction(QString());
    moreItem->setObjectName(QStringLiteral("moreItem"));
    connect(moreItem, &QAction::triggered, this, &TColorSelector::moreClick);
    setMenu(colorMenu);

    setColor(Qt::black);
    retranslate();
}

void TColorSelector::setColor(const QColor& color) {
    color_ = color.toRgb();
    color_.setAlpha(255);
    setIcon(Swatch(color_, kFaceSize));
    setToolTip(color_.name(QColor::HexRgb).mid(1).toUpper());
}

void TColorSelector::setColorDialog(ColorDialog dialog) { colorDialog_ = std::move(dialog); }

void TColorSelector::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) retranslate();
    QToolButton::changeEvent(event);
}

void TColorSelector::retranslate() {
    defaultItem->setText(Text("default"));
    moreItem->setText(Text("more"));
}

void TColorSelector::choose(const QColor& color) {
    setColor(color);
    emit colorChosen(color_);
}

void TColorSelector::moreClick() {
    if (!colorDialog_) return;
    if (const std::optional<QColor> chosen = colorDialog_(color_)) choose(*chosen);
}
