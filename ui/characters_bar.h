#pragma once

#include <QList>
#include <QToolBar>

class QMenu;
class QToolButton;

// The tool bar of characters and tags that the game's texts use: the placeholders in the
// first row; quotation marks and the ellipsis, the colour and effect tags, the character and
// party-member names, and a drop-down of the other tags in the second. Each button stands for
// its caption.
class TCharactersBar : public QToolBar {
    Q_OBJECT

public:
    explicit TCharactersBar(QWidget* parent = nullptr);

    // The captions of every button and drop-down item, in the order shown.
    QStringList captions() const;

signals:
    // A button or drop-down item was chosen: insert `caption`.
    void chosen(const QString& caption);

protected:
    // Reads every caption again when the interface's language changes.
    void changeEvent(QEvent* event) override;

private:
    // Reads every caption from the interface texts.
    void retranslate();
    // A button that inserts its caption; hintKey of section "tags_description" if any.
    void addButton(QLayout& row, const QString& caption, const char* hintKey = nullptr);

    QList<QToolButton*> buttons_;
    QMenu* otherTags_;
    QToolButton* otherTagsButton_;
};
