#pragma once

#include <cstdint>
#include <span>

#include "lgp/field_opcodes.h"
#include "lgp/lgp_sub_file.h"

// Fills a level's Entities, Texts (each with the windows that show it), SavedTexts and
// CompareMarks from its decoded field file; the sub-file's previous level data is replaced.
// Throws lgp::FormatError, naming the level, when the file is malformed: a read past the end
// of the data, a script walk stopped by an invalid opcode before the last script of a level
// that has texts, or a KAWAI opcode of length 0.
void ParseFieldFile(TLGPSubFile& subFile, std::span<const std::uint8_t> decoded);
