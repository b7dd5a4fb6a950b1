#pragma once

#include <QImage>
#include <QWidget>

// The main window's small level preview: the selected level's background fitted into the
// pane's own width and the height of the preview size (50 pixels per size), drawn in the
// middle, with the hint "Click to enlarge". While it shows a background it is enabled and a
// click emits clicked(); without one it is empty and disabled. Its picture follows the pane's
// width, so it is fitted again whenever the pane is resized.
class TLevelPreviewPicture : public QWidget {
    Q_OBJECT

public:
    // Preview sizes: 1 Small, 2 Normal, 3 Large, 4 Very large.
    static constexpr int kSmallestSize = 1;
    static constexpr int kLargestSize = 4;
    static constexpr int kHeightPerSize = 50;

    explicit TLevelPreviewPicture(QWidget* parent = nullptr);

    // Makes the pane 50 x size pixels high, size taken into 1 to 4, and fits the background
    // into it again.
    void setPreviewSize(int size);
    int previewSize() const { return size_; }

    // Shows background (as preview::BuildLevelBackground gives it) fitted into the pane, and
    // enables the pane; a null background (a width or height of 0) clears and disables it.
    void setPicture(const QImage& background);
    // Removes the picture and disables the pane.
    void reset();
    // The background last given, unscaled; null after reset.
    const QImage& background() const { return background_; }
    // What the pane shows: the fitted 24-bit picture, null when none or when the pane has no
    // room.
    const QImage& picture() const { return picture_; }

signals:
    void clicked();

protected:
    // Reads every caption again when the interface's language changes.
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Reads every caption from the interface texts.
    void retranslate();
    void fit();

    int size_ = kSmallestSize;
    QImage background_;
    QImage picture_;
    // A click is a left-button press and release, both on the pane.
    bool pressed_ = false;
};
