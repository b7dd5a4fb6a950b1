#pragma once

#include <optional>
#include <string>
#include <tuple>

#include <QImage>
#include <QWidget>

#include "preview/window_colors.h"
#include "text/text_layout.h"

class QLabel;
class QPlainTextEdit;
class QScrollArea;
class QToolButton;
class TArchiveSession;
class TTextPreviewPane;

namespace preview {
class GlyphSets;
}  // namespace preview

// The selected text's original, above its editor while an original archive is set: the
// original's tagged text, read-only, or "Not in the original" when the original lacks the
// level or the text; beside it whether the text is still untranslated, and on request
// ("Preview") the original drawn as the text preview draws the text: in the selected window's
// size, in the game view on the same page (or the original's last) with the same names, in the
// same colours.
class TOriginalTextPane : public QWidget {
    Q_OBJECT

public:
    // glyphs and preview must outlive the pane.
    TOriginalTextPane(TArchiveSession& session, const preview::GlyphSets& glyphs,
                      const TTextPreviewPane& preview, QWidget* parent = nullptr);

    // The original's picture as last drawn; null when none is shown.
    QImage picture() const { return picture_; }
    // A few lines high: the editor below keeps most of the height.
    QSize sizeHint() const override;

protected:
    // Captions follow the interface's language.
    void changeEvent(QEvent* event) override;

private:
    // What a picture is drawn from: the text shown, the window's size, the game view and its
    // page, the names and the colours. A picture is drawn again only when one of them changed.
    using PictureKey = std::tuple<int, int, int, bool, int, int, std::uint32_t, std::uint32_t,
                                  std::uint32_t, std::uint32_t>;

    void retranslate();
    // Shows the selected text's original and its state.
    void showOriginal();
    void showState();
    void drawPicture();

    TArchiveSession& session_;
    const preview::GlyphSets& glyphs_;
    const TTextPreviewPane& preview_;
    // The original of the selected text; none when it has none.
    std::optional<std::string> original_;
    // Counts the texts shown, so that the picture of another text is drawn anew.
    int shown_ = 0;
    std::optional<PictureKey> drawnKey_;
    QImage picture_;
    QLabel* captionLabel_;
    QLabel* stateLabel_;
    QToolButton* previewButton_;
    QPlainTextEdit* originalText_;
    QScrollArea* pictureArea_;
    QLabel* pictureLabel_;
};
