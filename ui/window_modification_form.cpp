#include "ui/window_modification_form.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include <QEvent>
#include <QApplication>
#include <QCursor>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include "lgp/window.h"
#include "preview/window_preview.h"
#include "ui/interface_texts.h"
#include "ui/menu_mnemonics.h"

// The images live in the static library orvenne_ui: they are registered by hand, from the
// global namespace, before the dialog loads the grip.
static void RegisterImages() { Q_INIT_RESOURCE(images); }

namespace {

constexpr int kGripSize = 7;
// The edge bands in which a press resizes: 0 to 6 pixels from the left or top pixel, 1 to 6
// from the right or bottom edge.
constexpr int kEdgeBand = 6;
constexpr int kMaxLines = 15;
// Reposition keeps the window 8 pixels inside the screen but at the bottom; full screen is the
// largest window it allows.
constexpr int kMargin = 8;
constexpr QRect kFullScreen(kMargin, kMargin, TWindowModificationForm::kScreenWidth - 2 * kMargin,
                            TWindowModificationForm::kScreenHeight - kMargin);

QString Text(const char* key) {
    return ui::InterfaceText(QStringLiteral("window_modification"), QString::fromLatin1(key));
}

QImage LoadGrip() {
    RegisterImages();
    return QImage(QStringLiteral(":/images/grip.png"));
}

// A field that reads as 0 when it is left empty (the spin box would restore its old value).
class NumberField : public QSpinBox {
public:
    using QSpinBox::QSpinBox;

protected:
    void fixup(QString& input) const override {
        if (input.trimmed().isEmpty()) input = QStringLiteral("0");
    }
};

Qt::CursorShape CursorOf(bool left, bool top, bool right, bool bottom) {
    if ((left && top) || (right && bottom)) return Qt::SizeFDiagCursor;
    if ((right && top) || (left && bottom)) return Qt::SizeBDiagCursor;
    if (left || right) return Qt::SizeHorCursor;
    if (top || bottom) return Qt::SizeVerCursor;
    return Qt::ArrowCursor;
}

// The new start and length of a side whose near or far end follows the mouse by delta; the
// length stays at least 1 and a moved near end leaves the far end where it was.
std::pair<int, int> DragSide(int start, int length, int delta, bool nearEnd, bool farEnd) {
    if (nearEnd) {
        const int moved = std::max(1, length - delta);
        return {start + length - moved, moved};
    }
    if (farEnd) return {start, std::max(1, length + delta)};
    return {start, length};
}

}  // namespace

TWindowModificationForm::TWindowModificationForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      grip_(LoadGrip()) {
    setObjectName(QStringLiteral("windowModificationForm"));
    createControls();
    retranslate();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

QSpinBox* TWindowModificationForm::addField(const char* name, int minimum, int maximum) {
    auto* field = new NumberField(this);
    field->setObjectName(QString::fromLatin1(name));
    field->setRange(minimum, maximum);
    return field;
}

void TWindowModificationForm::createControls() {
    screenArea = new QWidget(this);
    screenArea->setObjectName(QStringLiteral("screenArea"));
    screenArea->setFixedSize(kScreenWidth, kScreenHeight);
    QPalette grey = screenArea->palette();
    grey.setColor(QPalette::Window, QColor(128, 128, 128));
    screenArea->setPalette(grey);
    screenArea->setAutoFillBackground(true);

    overflowImage = new QLabel(screenArea);
    overflowImage->setObjectName(QStringLiteral("overflowImage"));
    overflowImage->setAttribute(Qt::WA_TransparentForMouseEvents);
    windowImage = new QLabel(screenArea);
    windowImage->setObjectName(QStringLiteral("windowImage"));
    windowImage->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    windowImage->setMouseTracking(true);
    windowImage->installEventFilter(this);

    constexpr int kInt16Min = std::numeric_limits<std::int16_t>::min();
    constexpr int kInt16Max = std::numeric_limits<std::int16_t>::max();
    constexpr int kUInt16Max = std::numeric_limits<std::uint16_t>::max();
    xField = addField("xField", kInt16Min, kInt16Max);
    yField = addField("yField", kInt16Min, kInt16Max);
    // A typed minus sign is accepted so that a negative size can become 0 at once.
    widthField = addField("widthField", -kUInt16Max, kUInt16Max);
    heightField = addField("heightField", -kUInt16Max, kUInt16Max);
    connect(xField, &QSpinBox::valueChanged, this, &TWindowModificationForm::xChanged);
    connect(yField, &QSpinBox::valueChanged, this, &TWindowModificationForm::yChanged);
    connect(widthField, &QSpinBox::valueChanged, this, &TWindowModificationForm::widthChanged);
    connect(heightField, &QSpinBox::valueChanged, this, &TWindowModificationForm::heightChanged);
    widthLabel = new QLabel(this);
    heightLabel = new QLabel(this);

    const auto iconButton = [this](const char* name, const char* icon) {
        auto* button = new QToolButton(this);
        button->setObjectName(QString::fromLatin1(name));
        button->setIcon(QIcon(QStringLiteral(":/images/") + QString::fromLatin1(icon)));
        button->setAutoRaise(true);
        return button;
    };
    horizontalCenterButton = iconButton("horizontalCenterButton", "horizontal_center.png");
    verticalCenterButton = iconButton("verticalCenterButton", "vertical_center.png");
    linesButton = iconButton("linesButton", "lines.png");
    connect(horizontalCenterButton, &QToolButton::clicked, this,
            &TWindowModificationForm::horizontalCenterClick);
    connect(verticalCenterButton, &QToolButton::clicked, this,
            &TWindowModificationForm::verticalCenterClick);

    linesMenu = new QMenu(this);
    linesMenu->setObjectName(QStringLiteral("linesMenu"));
    for (int lines = 1; lines <= kMaxLines; ++lines) {
        connect(linesMenu->addAction(QString()), &QAction::triggered, this,
                [this, lines] { linesItemClick(lines); });
    }
    connect(linesButton, &QToolButton::clicked, this,
            [this] { linesMenu->popup(QCursor::pos()); });

    const auto pushButton = [this](const char* name) {
        auto* button = new QPushButton(this);
        button->setObjectName(QString::fromLatin1(name));
        button->setAutoDefault(false);
        return button;
    };
    repositionButton = pushButton("repositionButton");
    fullScreenButton = pushButton("fullScreenButton");
    fitToTextButton = pushButton("fitToTextButton");
    fitToTextButton->hide();
    okButton = pushButton("okButton");
    okButton->setText(QStringLiteral("OK"));
    okButton->setDefault(true);
    cancelButton = pushButton("cancelButton");
    connect(repositionButton, &QPushButton::clicked, this,
            &TWindowModificationForm::repositionClick);
    connect(fullScreenButton, &QPushButton::clicked, this,
            &TWindowModificationForm::fullScreenClick);
    connect(fitToTextButton, &QPushButton::clicked, this, &TWindowModificationForm::fitToTextClick);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("X :"), xField);
    fields->addRow(QStringLiteral("Y :"), yField);
    fields->addRow(widthLabel, widthField);
    fields->addRow(heightLabel, heightField);
    auto* tools = new QHBoxLayout;
    tools->addWidget(horizontalCenterButton);
    tools->addWidget(verticalCenterButton);
    tools->addWidget(linesButton);
    tools->addStretch();
    auto* side = new QVBoxLayout;
    side->addLayout(fields);
    side->addLayout(tools);
    side->addWidget(repositionButton);
    side->addWidget(fullScreenButton);
    side->addWidget(fitToTextButton);
    side->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(screenArea, 0, Qt::AlignTop);
    top->addLayout(side);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
}

void TWindowModificationForm::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) retranslate();
    QDialog::changeEvent(event);
}

void TWindowModificationForm::retranslate() {
    setWindowTitle(Text("window_modification"));
    widthLabel->setText(Text("width") + QStringLiteral(" :"));
    heightLabel->setText(Text("height") + QStringLiteral(" :"));
    horizontalCenterButton->setToolTip(Text("horizontal_center"));
    verticalCenterButton->setToolTip(Text("vertical_center"));
    repositionButton->setText(Text("reposition"));
    fullScreenButton->setText(Text("full_screen"));
    fitToTextButton->setText(Text("fit_to_text"));
    cancelButton->setText(ui::InterfaceText(QStringLiteral("general"), QStringLiteral("cancel")));
    const QList<QAction*> items = linesMenu->actions();
    for (int lines = 1; lines <= kMaxLines; ++lines) {
        items[lines - 1]->setText(QString::number(lines) + QLatin1Char(' ') +
                                  Text(lines == 1 ? "line" : "lines"));
    }
    ui::AssignMnemonics(*this);
}

void TWindowModificationForm::setFitToText(
    std::function<std::optional<QRect>(QPoint position)> fit) {
    fitToText_ = std::move(fit);
    fitToTextButton->setVisible(static_cast<bool>(fitToText_));
}

bool TWindowModificationForm::edit(TWindow& window, const std::string& taggedText,
                                   const preview::GlyphSets& glyphs, const TWindowColors& colors,
                                   int page, text::CharacterNames names) {
    glyphs_ = &glyphs;
    text_ = taggedText;
    colors_ = colors;
    page_ = page;
    names_ = names;
    {
        const QSignalBlocker blockX(xField), blockY(yField);
        const QSignalBlocker blockWidth(widthField), blockHeight(heightField);
        xField->setValue(window.X);
        yField->setValue(window.Y);
        widthField->setValue(window.Width);
        heightField->setValue(window.Height);
    }
    windowImage->setGeometry(window.X, window.Y, std::max<int>(1, window.Width),
                             std::max<int>(1, window.Height));
    redraw();
    xField->setFocus();

    const bool accepted = exec() == QDialog::Accepted;
    mouseRelease();
    glyphs_ = nullptr;
    if (!accepted) return false;
    // A field still being typed in counts as left: an empty one reads as 0.
    for (QSpinBox* field : {xField, yField, widthField, heightField}) field->interpretText();
    window.X = static_cast<std::int16_t>(xField->value());
    window.Y = static_cast<std::int16_t>(yField->value());
    window.Width = static_cast<std::uint16_t>(widthField->value());
    window.Height = static_cast<std::uint16_t>(heightField->value());
    return true;
}

void TWindowModificationForm::xChanged(int x) {
    windowImage->move(x, windowImage->y());
    overflowImage->move(windowImage->pos());
}

void TWindowModificationForm::yChanged(int y) {
    windowImage->move(windowImage->x(), y);
    overflowImage->move(windowImage->pos());
}

void TWindowModificationForm::widthChanged(int width) {
    // Setting the field again applies the 0 through this handler.
    if (width < 0) {
        widthField->setValue(0);
        return;
    }
    windowImage->resize(std::max(1, width), windowImage->height());
    redraw();
}

void TWindowModificationForm::heightChanged(int height) {
    if (height < 0) {
        heightField->setValue(0);
        return;
    }
    windowImage->resize(windowImage->width(), std::max(1, height));
    redraw();
}

void TWindowModificationForm::horizontalCenterClick() {
    // Integer division truncates toward zero, as the game's own centring does.
    xField->setValue((kScreenWidth - widthField->value()) / 2);
}

void TWindowModificationForm::verticalCenterClick() {
    yField->setValue((kScreenHeight - heightField->value()) / 2);
}

void TWindowModificationForm::repositionClick() {
    // From the image, which is at least 1 x 1 where the fields may say 0.
    const QRect image = windowImage->geometry();
    const int width = std::min(image.width(), kFullScreen.width());
    const int height = std::min(image.height(), kFullScreen.height());
    int x = std::max(image.x(), kFullScreen.x());
    int y = std::max(image.y(), kFullScreen.y());
    if (x + width > kScreenWidth - kMargin) x = kScreenWidth - kMargin - width;
    if (y + height > kScreenHeight) y = kScreenHeight - height;
    setFields(QRect(x, y, width, height));
}

void TWindowModificationForm::fullScreenClick() { setFields(kFullScreen); }

void TWindowModificationForm::linesItemClick(int lines) { heightField->setValue(16 * lines + 9); }

void TWindowModificationForm::fitToTextClick() {
    if (!fitToText_) return;
    if (const std::optional<QRect> fitted = fitToText_(QPoint(xField->value(), yField->value()))) {
        setFields(*fitted);
    }
}

void TWindowModificationForm::setFields(const QRect& values) {
    xField->setValue(values.x());
    yField->setValue(values.y());
    widthField->setValue(values.width());
    heightField->setValue(values.height());
}

void TWindowModificationForm::showImageInFields(bool withSize) {
    const QSignalBlocker blockX(xField), blockY(yField);
    const QSignalBlocker blockWidth(widthField), blockHeight(heightField);
    xField->setValue(windowImage->x());
    yField->setValue(windowImage->y());
    if (!withSize) return;
    widthField->setValue(windowImage->width());
    heightField->setValue(windowImage->height());
}

void TWindowModificationForm::redraw() {
    if (glyphs_ == nullptr) return;
    // The game view draws the window at its size and the overflow beyond it.
    const QImage page = preview::DrawGameView(*glyphs_, colors_, text_, windowImage->width(),
                                              windowImage->height(), page_, names_);
    overflowImage->setPixmap(QPixmap::fromImage(page));
    overflowImage->setGeometry(QRect(windowImage->pos(), page.size()));
    QImage picture = page.copy(0, 0, windowImage->width(), windowImage->height());
    {
        QPainter painter(&picture);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        const int width = picture.width();
        const int height = picture.height();
        const int middleX = (width - kGripSize) / 2;
        const int middleY = (height - kGripSize) / 2;
        const int right = width - kGripSize;
        const int bottom = height - kGripSize;
        for (const QPoint place : {QPoint(middleX, 0), QPoint(middleX, bottom), QPoint(0, middleY),
                                   QPoint(right, middleY), QPoint(0, 0), QPoint(right, 0),
                                   QPoint(0, bottom), QPoint(right, bottom)}) {
            painter.drawImage(place, grip_);
        }
    }
    windowImage->setPixmap(QPixmap::fromImage(picture));
}

TWindowModificationForm::Edges TWindowModificationForm::edgesAt(QPoint pos) const {
    const int width = windowImage->width();
    const int height = windowImage->height();
    const bool left = pos.x() >= 0 && pos.x() <= kEdgeBand;
    const bool top = pos.y() >= 0 && pos.y() <= kEdgeBand;
    const bool right = width - pos.x() >= 0 && width - pos.x() <= kEdgeBand;
    const bool bottom = height - pos.y() >= 0 && height - pos.y() <= kEdgeBand;
    if (bottom && left) return {.left = true, .bottom = true};
    if (top && left) return {.left = true, .top = true};
    if (bottom && right) return {.right = true, .bottom = true};
    if (top && right) return {.top = true, .right = true};
    if (left) return {.left = true};
    if (top) return {.top = true};
    if (right) return {.right = true};
    if (bottom) return {.bottom = true};
    return {};
}

bool TWindowModificationForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched != windowImage) return QDialog::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::MouseButtonPress: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() != Qt::LeftButton) return false;
            return mousePress(mouse->position().toPoint(), mouse->globalPosition().toPoint());
        }
        case QEvent::MouseMove: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (drag_ != Drag::None && (mouse->buttons() & Qt::LeftButton)) {
                mouseDrag(mouse->globalPosition().toPoint());
                return true;
            }
            const Edges edges = edgesAt(mouse->position().toPoint());
            windowImage->setCursor(CursorOf(edges.left, edges.top, edges.right, edges.bottom));
            return false;
        }
        case QEvent::MouseButtonRelease:
            if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton) return false;
            mouseRelease();
            return true;
        default:
            return false;
    }
}

bool TWindowModificationForm::mousePress(const QPoint& pos, const QPoint& globalPos) {
    dragEdges_ = edgesAt(pos);
    pressGlobalPos_ = globalPos;
    pressGeometry_ = windowImage->geometry();
    // The fields follow the image without applying their values back to it, until release.
    if (dragEdges_.any()) {
        drag_ = Drag::Resize;
    } else {
        drag_ = Drag::Move;
        QApplication::setOverrideCursor(Qt::SizeAllCursor);
    }
    return true;
}

void TWindowModificationForm::mouseDrag(const QPoint& globalPos) {
    // Measured from the press, so that an edge held back at the smallest size follows the
    // mouse again as soon as the mouse is back.
    const QPoint delta = globalPos - pressGlobalPos_;
    if (drag_ == Drag::Move) {
        windowImage->move(pressGeometry_.topLeft() + delta);
        overflowImage->move(windowImage->pos());
        showImageInFields(false);
        return;
    }
    const auto [x, width] = DragSide(pressGeometry_.x(), pressGeometry_.width(), delta.x(),
                                     dragEdges_.left, dragEdges_.right);
    const auto [y, height] = DragSide(pressGeometry_.y(), pressGeometry_.height(), delta.y(),
                                      dragEdges_.top, dragEdges_.bottom);
    windowImage->setGeometry(x, y, width, height);
    showImageInFields(true);
    redraw();
}

void TWindowModificationForm::mouseRelease() {
    if (drag_ == Drag::Move) QApplication::restoreOverrideCursor();
    drag_ = Drag::None;
}
