#pragma once

#include <QPixmap>
#include <QStyledItemDelegate>

// Draws the items of the texts list from the roles of TTextsListModel: an icon that tells
// whether the text has windows and whether a comparison marked it, the caption (red when
// marked, bold while it differs from the saved file, grey and italic while it is untranslated),
// the number of windows over the icon, and at the right end the overflow mark of a text that
// overflows a window and, left of it, the mark of what the checks against the original found
// (an error's or a warning's). Items are 13 pixels high.
class TTextsListDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    struct Icons {
        QPixmap window;
        QPixmap disabledWindow;
        QPixmap windowCompared;
        QPixmap disabledWindowCompared;
        QPixmap overflow;
        QPixmap findingError;
        QPixmap findingWarning;
    };

    static constexpr int kItemHeight = 13;

    explicit TTextsListDelegate(Icons icons, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    Icons icons_;
};
