#pragma once

#include <QDialog>
#include <QImage>
#include <QString>

class QLabel;
class QScrollArea;

// The enlarged level preview: a level's background at full size in a window of its own,
// captioned "Preview" and the level's name. Its client area takes the picture's size, at most
// the screen's available area (the picture scrolls beyond it). The window is centred on the
// screen when it first opens; afterwards it stays where the user put it, moved only as far as
// it must to stay on the screen. It has only a close box, closes on Escape, and, as a dialog of
// the window given as parent, stays above that window without being modal.
class TLevelPreviewForm : public QDialog {
    Q_OBJECT

public:
    explicit TLevelPreviewForm(QWidget* parent = nullptr);

    // Shows background (as preview::BuildLevelBackground gives it) at full size with levelName in
    // the caption, then sizes the window. Neither shows, raises nor activates it, so an open window
    // is refreshed where it stands on the screen and in the stacking order.
    void setPicture(const QImage& background, const QString& levelName);
    // setPicture, then shows the window if it is hidden (centred the first time), sizes it
    // again now that its frame is known, and brings it forward.
    void showPicture(const QImage& background, const QString& levelName);
    // Removes the picture: the caption becomes "Preview" alone; the window keeps its size and
    // place, and a shown window stays shown.
    void reset();

    // The picture shown, in 24 bits; null when none.
    const QImage& picture() const { return picture_; }
    const QString& levelName() const { return levelName_; }

protected:
    // Reads every caption again when the interface's language changes.
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Reads every caption from the interface texts.
    void retranslate();
    // Sizes the window to the picture within the screen, and centres it or keeps it on the
    // screen.
    void place(bool centre);

    QScrollArea* scrollArea_;
    QLabel* pictureLabel_;
    QImage picture_;
    QString levelName_;
    // Whether the window has been shown yet: only its first showing centres it.
    bool placed_ = false;
};
