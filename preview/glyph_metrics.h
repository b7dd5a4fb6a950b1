#pragma once

#include <cstdint>

// Where the game's font places each character's cell inside its glyph, and how much room it
// leaves after the ink. Both depend on the character's entry in CharacterTable.

namespace preview {

// Columns of key colour added before the cell: 2 for '"', '(', ')', '1', ':', 'Ä', 'Å', 'Ç',
// 'É' and 'Ñ', 1 for ',' and '.', otherwise 0.
int GlyphLead(std::uint8_t code);

// Pixels added to the ink width to make the advance; may be negative (placeholder "%3").
int GlyphSpacing(std::uint8_t code);

}  // namespace preview
