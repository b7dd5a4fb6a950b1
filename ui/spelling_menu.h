#pragma once

class QMenu;
class QPlainTextEdit;

namespace spelling {
class SpellChecker;
class UserWordList;
}  // namespace spelling

namespace ui {

class SpellingHighlighter;

// The spell-checking entries of the text editor's context menu.
class SpellingMenu {
public:
    static constexpr int kMostSuggestions = 6;

    // For the misspelled word at character `position` of the editor's text, adds to `menu`: up
    // to kMostSuggestions suggestions, each replacing the word in one step (or a disabled "No
    // suggestions"), a separator, "Ignore" (for this run) and "Add to dictionary" (to the
    // user's word list, and at once to the checker). Suggestions change nothing while the
    // editor is read-only, whether it was so when the menu opened (they are disabled) or
    // became so since. "Ignore" and "Add to dictionary" only underline again, through the
    // highlighter when one is given; a word list that cannot be written is reported in a
    // message box over the menu's parent. Returns false, adding nothing, when no misspelled
    // word is at the position. The checker and word list must outlive the menu.
    static bool addEntries(QMenu* menu, QPlainTextEdit* editor, int position,
                           spelling::SpellChecker& checker, const spelling::UserWordList& words,
                           SpellingHighlighter* highlighter);
};

}  // namespace ui
