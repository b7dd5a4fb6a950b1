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
// The overflow mark ends this far inside the item's right edge.
constexpr int kMarkRight = 2;
const QColor kCountColor(0, 0, 128);

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
    // they stay readable.
    const QColor captionColor =
        marked ? QColor(Qt::red)
               : (selected ? option.palette.color(QPalette::HighlightedText) : QColor(Qt::black));
    painter->setPen(captionColor);
    QFont captionFont = option.font;
    captionFont.setBold(index.data(TTextsListModel::kChangedRole).toBool());
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

    const QPixmap& mark = icons_.overflow;
    if (index.data(TTextsListModel::kOverflowRole).toBool() && !mark.isNull()) {
        const QSize size = mark.size() / mark.devicePixelRatio();
        painter->drawPixmap(item.right() + 1 - kMarkRight - size.width(),
                            item.top() + (item.height() - size.height()) / 2, mark);
    }

    painter->restore();
}

QSize TTextsListDelegate::sizeHint(const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const {
    return {QStyledItemDelegate::sizeHint(option, index).width(), kItemHeight};
}
