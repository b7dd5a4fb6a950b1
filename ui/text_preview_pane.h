#pragma once

#include <cstddef>

#include <QGroupBox>

#include "preview/window_colors.h"
#include "text/text_layout.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QScrollArea;
class QSpinBox;
class QToolButton;
class TArchiveSession;

namespace preview {
class GlyphSets;
}  // namespace preview

// The selected text drawn as the game shows it, in the size of the window that the selector
// names (1 to the number of windows that show the text), or in the automatic size when the
// text has none; beside it the window selector and the button that modifies that window
// (disabled for a read-only level). In the game view (a check box beside them) it draws the
// page that the caret is on, with "page k/n" beside it, the name tags as the chosen names and
// the lines unwrapped, what passes the window's edges over a red hatch; otherwise the whole
// text, wrapped.
class TTextPreviewPane : public QGroupBox {
    Q_OBJECT

public:
    // glyphs must outlive the pane.
    TTextPreviewPane(TArchiveSession& session, const preview::GlyphSets& glyphs,
                     QWidget* parent = nullptr);

    // The corner colours of the windows drawn; redraws.
    void setColors(const TWindowColors& colors);
    const TWindowColors& colors() const { return colors_; }
    // Shows and draws the picture, or hides and clears it.
    void setPictureShown(bool shown);
    // Whether the window button may open its dialog when a window is selected.
    void setWindowButtonAvailable(bool available);
    // The game view, on or off; redraws.
    void setGameView(bool on);
    bool gameView() const;
    // The names drawn for the name tags (Default or Widest), in the game view and the session's
    // overflow marks; redraws.
    void setNames(text::CharacterNames names);
    text::CharacterNames names() const;
    // The caret's byte position in the current tagged text; the game view shows its page.
    void setCaretPosition(std::size_t taggedPosition);
    // The page of the current text that the caret is on, from 0.
    int caretPage() const;
    // The picture as last drawn; null when none is shown.
    QImage picture() const { return picture_; }
    // The page the game view shows, from 0; -1 when it shows none.
    int shownPage() const { return shownPage_; }

    // Draws the session's current text again.
    void redraw();

signals:
    void modifyWindowRequested();
    // The picture was drawn again (or cleared): its text, window, page, colours or names may
    // have changed.
    void drawn();

protected:
    // Reads every caption again when the interface's language changes.
    void changeEvent(QEvent* event) override;

private:
    // Reads every caption from the interface texts.
    void retranslate();
    void updateSelector();

    TArchiveSession& session_;
    const preview::GlyphSets& glyphs_;
    TWindowColors colors_ = preview::DefaultWindowColors;
    bool shown_ = true;
    bool windowButtonAvailable_ = true;
    QImage picture_;
    std::size_t caret_ = 0;
    // The page the game view shows; -1 when it shows none.
    int shownPage_ = -1;
    QScrollArea* scrollArea_;
    QLabel* pictureLabel_;
    QLabel* windowLabel_;
    QSpinBox* windowSelector_;
    QToolButton* windowButton_;
    QCheckBox* gameViewBox_;
    QComboBox* namesChoice_;
    QLabel* pageLabel_;
};
