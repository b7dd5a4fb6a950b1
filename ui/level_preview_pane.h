#pragma once

#include <QGroupBox>
#include <QImage>

class TArchiveSession;
class TLevelPreviewPicture;

// The box below the file list that shows the background of the session's selected level, in
// one of four heights (sizes 1 Small to 4 Very large); a click on the picture asks for it
// enlarged.
class TLevelPreviewPane : public QGroupBox {
    Q_OBJECT

public:
    explicit TLevelPreviewPane(TArchiveSession& session, QWidget* parent = nullptr);

    // Size 1 to 4: the box takes size x 50 + 27 pixels of height, the picture size x 50.
    void setPreviewSize(int size);
    // The height that size gives the box.
    static int heightOf(int size);
    // Shows a level's background (null: none, and the picture is disabled).
    void setPicture(const QImage& background);
    // Removes the picture.
    void reset();
    // The background shown, unscaled; null when none.
    const QImage& background() const;

    // The captions in the current language.
    void retranslate();

signals:
    void clicked();
    // Why the selected level's background cannot be drawn; empty when it can, or when no
    // level is selected.
    void problemChanged(const QString& reason);

private:
    void showSelectedLevel();

    TArchiveSession& session_;
    TLevelPreviewPicture* picture_;
};
