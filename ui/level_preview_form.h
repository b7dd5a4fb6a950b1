#pragma once

#include <QDialog>
#include <QImage>
#include <QString>

class QLabel;
class QScrollArea;

// The enlarged level preview: a level's background at full size in a window of its own,
// captioned "Preview" and the level's name. Its client area takes the picture's size, at most
// the screen's available area (the picture scrolls beyond it), and the window is centred on
// the screen. It has only a close box, closes on Escape, and, as a dialog of the window
// given as parent, stays above that window without being modal.
class TLevelPreviewForm : public QDialog {
    Q_OBJECT

public:
    explicit TLevelPreviewForm(QWidget* parent = nullptr);

    // Shows background (as BuildLevelBackground gives it) at full size with levelName in the
    // caption, then sizes and centres the window. Neither shows, raises nor activates it, so
    // an open window is refreshed where it stands in the stacking order.
    void setPicture(const QImage& background, const QString& levelName);
    // setPicture, then shows the window if it is hidden, sizes and centres it again now that
    // its frame is known, and brings it forward.
    void showPicture(const QImage& background, const QString& levelName);
    // Removes the picture: the caption becomes "Preview" alone, the client area 0 x 0, and the
    // window is centred; a shown window stays shown.
    void reset();

    // The picture shown, in 24 bits; null when none.
    const QImage& picture() const { return picture_; }
    const QString& levelName() const { return levelName_; }

    // Reads the caption's word again from the interface texts.
    void retranslate();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // Sizes the window to the picture within the screen and centres it.
    void place();

    QScrollArea* scrollArea_;
    QLabel* pictureLabel_;
    QImage picture_;
    QString levelName_;
};
