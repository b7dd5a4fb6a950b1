#pragma once

#include <functional>
#include <optional>
#include <string>

#include <QDialog>
#include <QImage>
#include <QPoint>
#include <QRect>

#include "preview/window_colors.h"
#include "text/text_layout.h"

class QLabel;
class QMenu;
class QPushButton;
class QSpinBox;
class QToolButton;
class TWindow;

namespace preview {
class GlyphSets;
}  // namespace preview

// The window modification dialog: one dialogue window of a level, drawn as the game view
// draws it (a page of its text, the lines unwrapped, what passes the window's edges over a red
// hatch beyond them, so that a window too small for its text shows as such), on a grey
// 320 x 224 picture of the part of the screen in which the game places its
// windows. The user moves and resizes it with four fields (X, Y, Width, Height, limited to the
// window's 16-bit ranges), centring, full-screen and reposition buttons, a menu that sets the
// height for 1 to 15 text lines, and the mouse: dragging the window moves it, dragging its
// edges or corners resizes it. Created once and shown modally by edit() for each window.
class TWindowModificationForm : public QDialog {
    Q_OBJECT

public:
    // The screen area, one pixel per unit of the game's window coordinates.
    static constexpr int kScreenWidth = 320;
    static constexpr int kScreenHeight = 224;

    explicit TWindowModificationForm(QWidget* parent = nullptr);

    // Shows the dialog modally for window, which shows page `page` (from 0) of taggedText
    // (Windows-1252, CR LF line breaks), drawn with glyphs in colors and the name tags as
    // `names`. OK stores the four fields into the window's X, Y, Width and Height and returns
    // true; Cancel or the close box returns false and leaves the window as it was. glyphs must
    // outlive the call.
    bool edit(TWindow& window, const std::string& taggedText, const preview::GlyphSets& glyphs,
              const TWindowColors& colors, int page = 0,
              text::CharacterNames names = text::CharacterNames::Default);

    // Shows a "Fit to text" button that sets the four fields to the window that fit gives for
    // the fields' X and Y (nothing when it gives none): fit may move the window, to keep it on
    // the screen. An empty function hides the button.
    void setFitToText(std::function<std::optional<QRect>(QPoint position)> fit);

protected:
    // Reads every caption again when the interface's language changes.
    void changeEvent(QEvent* event) override;
    // Watches the mouse over the window image: the cursor, moving and resizing.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Reads every caption from the interface texts.
    void retranslate();
    // The edges of the window image that a drag moves; none for a move of the whole image.
    struct Edges {
        bool left = false;
        bool top = false;
        bool right = false;
        bool bottom = false;

        bool any() const { return left || top || right || bottom; }
    };
    enum class Drag { None, Move, Resize };

    void createControls();
    QSpinBox* addField(const char* name, int minimum, int maximum);

    void xChanged(int x);
    void yChanged(int y);
    void widthChanged(int width);
    void heightChanged(int height);
    void horizontalCenterClick();
    void verticalCenterClick();
    void repositionClick();
    void fullScreenClick();
    void linesItemClick(int lines);
    void fitToTextClick();

    // Sets the fields to the image's position (and size when withSize) without applying them.
    void showImageInFields(bool withSize);
    // Sets the fields to values, each applied as if typed.
    void setFields(const QRect& values);
    // Draws the window at the image's size, with the grip at its corners and edge middles, and
    // what of the page passes its edges beside it.
    void redraw();

    // The edges a press at pos (relative to the image's top-left pixel) would drag: the bands
    // are 7 pixels wide on the left and top and 6 on the right and bottom, and where they
    // overlap the first of bottom-left, top-left, bottom-right, top-right, left, top, right
    // and bottom wins.
    Edges edgesAt(QPoint pos) const;
    bool mousePress(const QPoint& pos, const QPoint& globalPos);
    void mouseDrag(const QPoint& globalPos);
    void mouseRelease();

    const preview::GlyphSets* glyphs_ = nullptr;
    std::string text_;
    TWindowColors colors_;
    int page_ = 0;
    text::CharacterNames names_ = text::CharacterNames::Default;
    const QImage grip_;
    std::function<std::optional<QRect>(QPoint position)> fitToText_;

    Drag drag_ = Drag::None;
    Edges dragEdges_;
    QPoint pressGlobalPos_;
    QRect pressGeometry_;

    QWidget* screenArea;
    QLabel* windowImage;
    // Under the window image, at its top left: the page where it passes the window's edges.
    QLabel* overflowImage;
    QLabel* widthLabel;
    QLabel* heightLabel;
    QSpinBox* xField;
    QSpinBox* yField;
    QSpinBox* widthField;
    QSpinBox* heightField;
    QToolButton* horizontalCenterButton;
    QToolButton* verticalCenterButton;
    QToolButton* linesButton;
    QMenu* linesMenu;
    QPushButton* repositionButton;
    QPushButton* fullScreenButton;
    QPushButton* fitToTextButton;
    QPushButton* okButton;
    QPushButton* cancelButton;
};
