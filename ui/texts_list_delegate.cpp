#include "ui/texts_list_delegate.h"

#include <utility>

#include <QApplication>
#include <QPainter>
#include <QStyle>

#include "ui/texts_list_model.h"

namespace {

constexpr int kIconLeft = 4;
constexpr int kCaptionLeft = 23;
// The window count sits over the icon, right-aligned in this width, below this offset.
constexpr int kCountWidth = 18;
constexpr int kCountTop = 4;
constexpr int kCountPointSize = 5;
// The overflow mark ends this far inside the item's right edge, the findings mark this far
// left of it.
constexpr int kMarkRight = 2;
constexpr int kMarkGap = 2;
const QColor kCountColor(0, 0, 128);
const QColor kUntranslatedColor(120, 120, 120);

// Draws a mark centred in the item's height, ending at `right`; returns where it begins.
int DrawMark(QPainter& painter, const QRect& item, int right, const QPixmap& mark) {
    const QSize size = mark.size() / mark.devicePixelRatio();
    const int left = right - size.width();
    painter.drawPixmap(left, item.top() + (item.height() - size.height()) / 2, mark);
    return left;
}

}  // namespace

TTextsListDelegate::TTextsListDelegate(Icons icons, QObject* parent)
    : QStyledItemDelegate(parent), icons_(std::move(icons)) {}

void TTextsListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    const bool marked = index.data(TTextsListModel::kCompareMarkRole).toBool();
    const int windows = index.data(TTextsListModel::kWindowCountRole).toInt();
    const bool selected = (option.state & QStyle::State_Selected) != 0;
    const QRect& item = option.rect;

    painter->save();
    painter->fillRect(item, option.palette.brush(selected ? QPalette::Highlight : QPalette::Base));
    // The style's focus mark on the current item, whether the focus came by keyboard or mouse,
    // under what the item shows.
    if ((option.state & QStyle::State_HasFocus) != 0) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(option);
        focus.state |= QStyle::State_KeyboardFocusChange | QStyle::State_Item;
        focus.backgroundColor =
            option.palette.color(selected ? QPalette::Highlight : QPalette::Base);
        const QStyle* style =
            option.widget != nullptr ? option.widget->style() : QApplication::style();
        style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, option.widget);
    }

    const QPixmap& icon = windows == 0
                              ? (marked ? icons_.disabledWindowCompared : icons_.disabledWindow)
                              : (marked ? icons_.windowCompared : icons_.window);
    if (!icon.isNull()) {
        const int iconHeight = icon.height() / qRound(icon.devicePixelRatio());
        painter->drawPixmap(item.left() + kIconLeft,
                            item.top() + item.height() / 2 - iconHeight / 2, icon);
    }

    // Marked texts stand out in red; on the selection bar the others take its text colour so
    // they stay readable; untranslated ones are greyed beside translated ones.
    const bool untranslated = index.data(TTextsListModel::kUntranslatedRole).toBool();
    QColor captionColor = untranslated ? kUntranslatedColor : QColor(Qt::black);
    if (marked) {
        captionColor = Qt::red;
    } else if (selected) {
        captionColor = option.palette.color(QPalette::HighlightedText);
    }
    painter->setPen(captionColor);
    QFont captionFont = option.font;
    captionFont.setBold(index.data(TTextsListModel::kChangedRole).toBool());
    captionFont.setItalic(untranslated);
    painter->setFont(captionFont);
    const QRect caption(item.left() + kCaptionLeft, item.top(), item.width() - kCaptionLeft,
                        item.height());
    painter->drawText(caption, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                      index.data(Qt::DisplayRole).toString());

    if (windows > 0) {
        QFont countFont = option.font;
        countFont.setPointSize(kCountPointSize);
        painter->setFont(countFont);
        painter->setPen(kCountColor);
        const QRect count(item.left(), item.top() + kCountTop, kCountWidth,
                          item.height() - kCountTop);
        painter->drawText(count, Qt::AlignRight | Qt::AlignTop | Qt::TextSingleLine,
                          QString::number(windows));
    }

    int markRight = item.right() + 1 - kMarkRight;
    if (index.data(TTextsListModel::kOverflowRole).toBool() && !icons_.overflow.isNull()) {
        markRight = DrawMark(*painter, item, markRight, icons_.overflow) - kMarkGap;
    }
    const int findings = index.data(TTextsListModel::kFindingsRole).toInt();
    const QPixmap& finding =
        findings == TTextsListModel::kErrorFound ? icons_.findingError : icons_.findingWarning;
    if (findings != TTextsListModel::kNoFinding && !finding.isNull()) {
        DrawMark(*painter, item, markRight, finding);
    }

    painter->restore();
}

QSize TTextsListDelegate::sizeHint(const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const {
    return {QStyledItemDelegate::sizeHint(option, index).width(), kItemHeight};
}
