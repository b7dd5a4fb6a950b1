#pragma once

#include <functional>

#include <QPixmap>
#include <QStyledItemDelegate>

class TLGPSubFile;

// Draws the items of the main window's texts list: an icon that tells whether the text has
// windows and whether the last comparison marked it, the caption (red when marked), and the
// number of windows over the icon. Items are 13 pixels high.
class TTextsListDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    struct Icons {
        QPixmap window;
        QPixmap disabledWindow;
        QPixmap windowCompared;
        QPixmap disabledWindowCompared;
    };

    static constexpr int kItemHeight = 13;

    // level: gives the level whose texts the list shows, or none; items are drawn only for a
    // level, item i standing for its text i.
    TTextsListDelegate(Icons icons, std::function<const TLGPSubFile*()> level,
                       QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    Icons icons_;
    std::function<const TLGPSubFile*()> level_;
};
