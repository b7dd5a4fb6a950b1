#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "sample/sample_random.h"

namespace sample {

// One dialogue text as tagged text (Windows-1252, CR LF line breaks, tags in braces), with
// what the script needs to open a window that fits it.
struct Dialogue {
    std::string tagged;
    // Characters of the widest line and lines of the tallest page, as the game draws them.
    int widestLine = 0;
    int tallestPage = 0;
    // For a question: the line numbers of its first and last choice; -1 otherwise.
    int firstChoice = -1;
    int lastChoice = -1;
};

// Writes made-up English dialogue in the style of the game's field texts: a speaker line, the
// words in quotes, several pages, pauses, colours, character-name tags, choices, variables
// and placeholders, wrapped to the width of a dialogue window.
class DialogueWriter {
public:
    explicit DialogueWriter(SampleRandom& random) : random_(random) {}

    // The level's name, as the map-name opcode shows it.
    Dialogue LocationName(std::string_view location);
    // A speech of one or more pages by a speaker: a name tag such as "{TIFA}" or a plain name.
    Dialogue Speech(std::string_view speaker, bool partyMember);
    // A question with two to four choices, shown by an ASK opcode.
    Dialogue Question(std::string_view speaker);
    // A line without a speaker: an item found, a locked door, a sign.
    Dialogue Notice();

    // A name for a non-player character.
    std::string_view CharacterName();

private:
    // The words of a few sentences, with a pause or an opening word now and then.
    std::string Sentences(int count, bool partyMember);
    std::string FillSlots(std::string_view pattern);
    // Wraps words into quoted lines and pages of at most `linesPerPage` lines under a speaker.
    Dialogue Layout(std::string_view speaker, const std::string& words, int linesPerPage);

    SampleRandom& random_;
};

// Width in characters of tagged text as drawn: tags of colours and effects take no room,
// name tags the name's letters, a placeholder one character.
int DrawnWidth(std::string_view tagged);

}  // namespace sample
