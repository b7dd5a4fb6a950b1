#pragma once

#include <cstdint>
#include <span>

#include "lgp/lgp_sub_file.h"

// Fills a level's Entities, Texts (each with the windows that show it), SavedTexts and
// CompareMarks from its decoded field file; the sub-file's previous level data is replaced.
// Throws lgp::FormatError, naming the level, when the file is malformed: a read past the end
// of the data, a script walk stopped by an invalid opcode before the last script of a level
// that has texts, or a KAWAI opcode of length 0.
void ParseFieldFile(TLGPSubFile& subFile, std::span<const std::uint8_t> decoded);

// Number of parameter bytes of each script opcode, or one of the two marks below.
extern const std::uint8_t kOpcodeLengths[256];
// The opcode's length is read from its parameters (SPECIAL, KAWAI).
inline constexpr std::uint8_t kOpcodeLengthInParameters = 255;
// The opcode may not occur in a script.
inline constexpr std::uint8_t kOpcodeNeverOccurs = 99;
