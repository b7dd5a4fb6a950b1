#pragma once

#include <array>
#include <functional>
#include <optional>

#include <QColor>
#include <QRgb>
#include <QToolButton>

class QAction;
class QMenu;

// A button that shows one colour and, in its menu, offers in this order: "Default..."
// (black), the 40 preset colours in rows of eight, and "More...", which asks a colour dialog
// preset to the current colour. Its hint is the colour as six upper-case hexadecimal digits.
class TColorSelector : public QToolButton {
    Q_OBJECT

public:
    // Asks the user for a colour, starting from initial; nothing when the user cancels.
    using ColorDialog = std::function<std::optional<QColor>(const QColor& initial)>;

    // The preset colours, as red-green-blue, in menu order.
    static constexpr std::array<QRgb, 40> kPresetColors = {
        0x000000, 0x993300, 0x333300, 0x003300, 0x003366, 0x000080, 0x333335, 0x333333,
        0x800000, 0xFF6600, 0x808000, 0x008000, 0x008080, 0x0000FF, 0x666699, 0x808080,
        0xFF0000, 0xFF9900, 0x99CC00, 0x339966, 0x33CCCC, 0x3366FF, 0x800080, 0x999999,
        0xFF00FF, 0xFFCC00, 0xFFFF00, 0x00FF00, 0x00FFFF, 0x00CCFF, 0x993366, 0xC0C0C0,
        0xFF99CC, 0xFFCC99, 0xFFFF99, 0xCCFFCC, 0xCCFFFF, 0x99CCFF, 0xCC99FF, 0xFFFFFF,
    };

    explicit TColorSelector(QWidget* parent = nullptr);

    QColor color() const { return color_; }
    // Shows color (opaque) and its hint; emits nothing.
    void setColor(const QColor& color);
    // The dialog that "More..." asks; until one is given the entry does nothing.
    void setColorDialog(ColorDialog dialog);

signals:
    // The user chose color from the menu; the selector shows it already.
    void colorChosen(const QColor& color);

protected:
    // Reads every caption again when the interface's language changes.
    void changeEvent(QEvent* event) override;

private:
    // Reads every caption from the interface texts.
    void retranslate();
    void choose(const QColor& color);
    void moreClick();

    QColor color_;
    ColorDialog colorDialog_;
    QMenu* colorMenu;
    QAction* defaultItem;
    QAction* moreItem;
};
