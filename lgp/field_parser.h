#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "lgp/field_opcodes.h"
#include "lgp/lgp_sub_file.h"

namespace lgp {

// Fills a level's Entities, Texts (each with the windows that show it), SavedTexts and
// CompareMarks from its decoded field file; the sub-file's previous level data is replaced.
// A text that starts where its section ends (at the first listed Akao block, or without
// Akao blocks where the next section begins) or past it is empty. A text table that claims
// texts it does not hold (a text starting inside the position list or past the section's
// end, a 0 that cuts the list short) sets Damage: the texts read are kept, but the level must
// not be rebuilt. Throws lgp::FormatError, naming the level, when the file is malformed: a
// read past the end of the data, a script walk stopped by an invalid opcode before the last
// script of a level that has texts, or a KAWAI opcode of length 0; the model is then empty.
void ParseFieldFile(TLGPSubFile& subFile, std::span<const std::uint8_t> decoded);

// Same, but a malformed file marks the level instead of throwing: Unreadable set, Damage the
// reason (without the level's name), the model empty. Returns that reason, empty when the
// file was parsed.
std::string ParseFieldFileKeepingDamage(TLGPSubFile& subFile,
                                        std::span<const std::uint8_t> decoded);

}  // namespace lgp
