#pragma once

#include <QGroupBox>

class QLabel;

// The box below the file list that shows the selected level's background, in one of four
// heights (sizes 1 Small to 4 Very large).
class TLevelPreviewPane : public QGroupBox {
    Q_OBJECT

public:
    explicit TLevelPreviewPane(QWidget* parent = nullptr);

    // Size 1 to 4: the box takes size x 50 + 27 pixels of height, the picture at most
    // size x 50.
    void setPreviewSize(int size);
    // The height that size gives the box.
    static int heightOf(int size);
    // Removes the picture.
    void clear();

    // The captions in the current language.
    void retranslate();

private:
    QLabel* picture_;
};
