#pragma once

#include <QPixmap>
#include <QStyledItemDelegate>

// Draws the items of the texts list from the roles of TTextsListModel: an icon that tells
// whether the text has windows and whether a comparison marked it, the caption (red when
// marked, bold while it differs from the saved file), the number of windows over the icon,
// and at the right end the overflow mark of a text that overflows a window. Items are 13
// pixels high.
class TTextsListDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    struct Icons {
        QPixmap window;
        QPixmap disabledWindow;
        QPixmap windowCompared;
        QPixmap disabledWindowCompared;
        QPixmap overflow;
    };

    static constexpr int kItemHeight = 13;

    explicit TTextsListDelegate(Icons icons, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    Icons icons_;
};
