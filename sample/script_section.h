#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "sample/sample_random.h"
#include "sample/script_builder.h"

namespace sample {

// Where a level's texts and Akao (music and sound) blocks lie in its script section: the
// layouts the game's levels show, including those that the parser must read as "no texts".
enum class TextLayout {
    // Texts at the end of the section.
    Texts,
    // Akao blocks after the texts.
    TextsThenAkao,
    // An empty text list followed at once by the first Akao block: no texts.
    EmptyListThenAkao,
    // Akao blocks before the scripts, so the text section lies after an Akao block: the
    // texts stored there do not count.
    AkaoBeforeScripts,
    // A text section of 4 bytes: no texts, though scripts still open windows and show messages.
    TinyTextSection,
};

// What to put into a level's script section.
struct ScriptSectionPlan {
    std::string levelName;
    // The place's name, the level's first text.
    std::string location;
    TextLayout layout = TextLayout::Texts;
    // Texts to write; the layouts without texts ignore it.
    int texts = 0;
};

// A written script section, without its 4-byte length field, and what a parser must find in it.
struct ScriptSection {
    std::vector<std::uint8_t> bytes;
    int entities = 0;
    // Entities with a character model, for the model loader section.
    int models = 0;
    // Texts as the parser counts them: 0 for the layouts without texts.
    int texts = 0;
    // Bytes of those texts, each with its closing 0xFF.
    std::size_t textBytes = 0;
    // Those texts as tagged text (Windows-1252, CR LF line breaks), in their order.
    std::vector<std::string> tagged;
    DialogueTally tally;
};

// Writes a level's script section: a header, the entities (a director, party members,
// townsfolk, walk lines, objects) with their scripts, the text section and the Akao blocks as
// the layout asks. Scripts open windows and show texts in every way the parser must follow:
// one window for several texts, windows resized, questions, messages without a window, texts
// shown twice and texts never shown, amid many other opcodes.
ScriptSection MakeScriptSection(const ScriptSectionPlan& plan, SampleRandom& random);

}  // namespace sample
