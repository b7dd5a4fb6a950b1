#pragma once

#include <vector>

#include <QObject>
#include <QString>

#include "text/text_layout.h"

class TLGPFile;

// Which texts of an archive overflow their windows, as the lists mark them: a mark per text and
// a count per level, under the chosen names. Every level is checked when the archive is set;
// after that only what changes is checked again: the edited text at each keystroke, the edited
// window's level after a window change, everything for other names. Whoever changes the
// archive tells the marks first, so that observers of the change find them up to date.
class TOverflowMarks : public QObject {
    Q_OBJECT

public:
    explicit TOverflowMarks(QObject* parent = nullptr);

    // Checks every level of `archive` (none: nothing is marked), telling nobody: the lists of a
    // new archive start anew. The archive must outlive the marks or the next call.
    void setArchive(const TLGPFile* archive);
    // Checks one text again after its bytes changed; tells `marksChanged` when its mark did.
    void textChanged(int subFile, int text);
    // Checks a level's texts again after one of its windows changed (a window may be shared by
    // several texts), and tells `marksChanged` for the level.
    void windowChanged(int subFile);

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

signals:
    // The marks of one text changed; text -1: any text of the level; subFile -1: any level.
    // Not told for an archive just opened: its lists start anew.
    void marksChanged(int subFile, int text);

private:
    void markArchive();
    void markLevel(int subFile);

    const TLGPFile* archive_ = nullptr;
    text::CharacterNames names_ = text::CharacterNames::Default;
    // Per table index: a flag per text of a level (none for other files), and their count
    // (-1 for other files).
    std::vector<std::vector<char>> marks_;
    std::vector<int> counts_;
};
