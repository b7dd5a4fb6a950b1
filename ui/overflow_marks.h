#pragma once

#include <vector>

#include <QObject>
#include <QString>
#include <QTimer>

#include "text/text_layout.h"

class TLGPFile;

// Which texts of an archive overflow their windows, as the lists mark them: a mark per text and
// a count per level, under the chosen names. The levels of an archive just set are checked
// while the event loop is idle, a few at a time, so that its lists show at once; `marksChanged`
// (-1, -1) tells when every level has been. After that only what changes is checked again: the
// edited text at each keystroke, the edited window's level after a window change, everything
// for other names. Whoever changes the archive tells the marks first, so that observers of the
// change find them up to date; an edit of a level not checked yet needs nothing, as the check
// reads the level as it is then.
class TOverflowMarks : public QObject {
    Q_OBJECT

public:
    explicit TOverflowMarks(QObject* parent = nullptr);

    // Starts checking every level of `archive` (none: nothing is marked): until a level has
    // been checked it has no mark. The archive must outlive the marks or the next call.
    void setArchive(const TLGPFile* archive);
    // True once every level of the archive has been checked (at once without an archive).
    bool ready() const { return next_ >= checked_.size(); }
    // Checks a level now unless it has been checked: for a level about to be shown. Tells
    // nobody.
    void checkLevel(int subFile);
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
    // The number of the level's texts that overflow; -1 for a file that is not a level or a
    // level not checked yet.
    int overflowingTexts(int subFile) const;
    // Why the text overflows, one line per overflow; empty when it does not.
    QString hints(int subFile, int text) const;

signals:
    // The marks of one text changed; text -1: any text of the level; subFile -1: any level,
    // as when every level of an archive just set has been checked.
    void marksChanged(int subFile, int text);

private:
    // Checks every level now.
    void markArchive();
    void markLevel(int subFile);
    // Checks the levels that follow the last one checked for a short while, and goes on
    // later, or tells that every level has been checked.
    void checkSome();

    const TLGPFile* archive_ = nullptr;
    text::CharacterNames names_ = text::CharacterNames::Default;
    // Per table index: a flag per text of a level (none for other files), their count (-1 for
    // other files and levels not checked yet), and whether the file has been checked.
    std::vector<std::vector<char>> marks_;
    std::vector<int> counts_;
    std::vector<char> checked_;
    // The table index up to which the idle check has gone.
    std::size_t next_ = 0;
    QTimer idleCheck_;
};
