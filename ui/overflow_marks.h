#pragma once

#include <optional>
#include <vector>

#include <QObject>
#include <QPoint>
#include <QRect>
#include <QString>

#include "text/text_layout.h"

class TArchiveSession;

// Which texts of the open archive overflow their windows, as the lists mark them: a mark per
// text and a count per level, under the chosen names. Every level is checked once when an
// archive opens; after that only what changes is checked again: the edited text at each
// keystroke, the edited window's level after a window change, everything for other names.
class TOverflowMarks : public QObject {
    Q_OBJECT

public:
    explicit TOverflowMarks(TArchiveSession& session, QObject* parent = nullptr);

    text::CharacterNames names() const { return names_; }
    // Checks every level again with other names (Default or Widest).
    void setNames(text::CharacterNames names);

    // True when text `text` of file `subFile` (table index) overflows one of its windows;
    // false for anything out of range.
    bool isOverflowing(int subFile, int text) const;
    // The number of the level's texts that overflow; -1 for a file that is not a level.
    int overflowingTexts(int subFile) const;
    // Why the text overflows, one line per overflow; empty when it does not.
    QString hints(int subFile, int text) const;

    // The selected window fitted to every text of its level that it shows, at `position`
    // unless it would then leave the screen; none without a selected window.
    std::optional<QRect> fitSelectedWindow(QPoint position) const;

signals:
    // The marks of one text changed; text -1: any text of the level; subFile -1: any level.
    // Not told for an archive just opened: its lists start anew.
    void marksChanged(int subFile, int text);

private:
    // Checks every level of the archive, telling nobody.
    void markArchive();
    void markLevel(int subFile);
    void markText(int subFile, int text);

    TArchiveSession& session_;
    text::CharacterNames names_ = text::CharacterNames::Default;
    // Per table index: a flag per text of a level (none for other files), and their count
    // (-1 for other files).
    std::vector<std::vector<char>> marks_;
    std::vector<int> counts_;
};
