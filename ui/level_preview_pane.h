#pragma once

#include <QGroupBox>
#include <QImage>

class TArchiveSession;
class TLevelPreviewForm;
class TLevelPreviewPicture;

// The box below the file list that shows the background of the session's selected level, in
// one of four heights (sizes 1 Small to 4 Very large). A click on the picture shows it in the
// enlarged preview, which then follows the selection until it is closed or another archive is
// opened.
class TLevelPreviewPane : public QGroupBox {
    Q_OBJECT

public:
    // enlarged: the window that shows the picture at full size; it must outlive the pane.
    TLevelPreviewPane(TArchiveSession& session, TLevelPreviewForm& enlarged,
                      QWidget* parent = nullptr);

    // Size 1 to 4: the box takes size x 50 + 27 pixels of height, the picture size x 50.
    void setPreviewSize(int size);
    // The height that size gives the box.
    static int heightOf(int size);

signals:
    // Why the selected level's background cannot be drawn; empty when it can, or when no
    // level is selected.
    void problemChanged(const QString& reason);

protected:
    // Reads every caption again when the interface's language changes.
    void changeEvent(QEvent* event) override;

private:
    // Reads every caption from the interface texts.
    void retranslate();
    void showSelectedLevel();
    void showEnlarged();

    TArchiveSession& session_;
    TLevelPreviewForm& enlarged_;
    TLevelPreviewPicture* picture_;
};
