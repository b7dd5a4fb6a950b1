#pragma once

#include <QGroupBox>

#include "preview/window_colors.h"

class GlyphSets;
class QLabel;
class QScrollArea;
class QSpinBox;
class QToolButton;
class TArchiveSession;

// The selected text drawn as the game shows it, in the size of the window that the selector
// names (1 to the number of windows that show the text), or in the automatic size when the
// text has none; beside it the window selector and the button that modifies that window,
// disabled for a read-only level.
class TTextPreviewPane : public QGroupBox {
    Q_OBJECT

public:
    // glyphs must outlive the pane.
    TTextPreviewPane(TArchiveSession& session, const GlyphSets& glyphs, QWidget* parent = nullptr);

    // The corner colours of the windows drawn; redraws.
    void setColors(const TWindowColors& colors);
    const TWindowColors& colors() const { return colors_; }
    // Shows and draws the picture, or hides and clears it.
    void setPictureShown(bool shown);
    // Whether the window button may open its dialog when a window is selected.
    void setWindowButtonAvailable(bool available);
    // The picture as last drawn; null when none is shown.
    QImage picture() const { return picture_; }

    // Draws the session's current text again.
    void redraw();
    // The captions in the current language.
    void retranslate();

signals:
    void modifyWindowRequested();

private:
    void updateSelector();

    TArchiveSession& session_;
    const GlyphSets& glyphs_;
    TWindowColors colors_ = DefaultWindowColors;
    bool shown_ = true;
    bool windowButtonAvailable_ = true;
    QImage picture_;
    QScrollArea* scrollArea_;
    QLabel* pictureLabel_;
    QLabel* windowLabel_;
    QSpinBox* windowSelector_;
    QToolButton* windowButton_;
};
