#pragma once

#include <cstdint>

namespace lgp {

// Script opcodes and byte values of a level's field file that the editor interprets.
inline constexpr std::uint8_t kOpcodeSpecial = 0x0F;
inline constexpr std::uint8_t kOpcodeKawai = 0x28;
// WSIZW: sets a window's position and size like WINDOW.
inline constexpr std::uint8_t kOpcodeWindowSize = 0x2F;
inline constexpr std::uint8_t kOpcodeMessage = 0x40;
inline constexpr std::uint8_t kOpcodeAsk = 0x48;
inline constexpr std::uint8_t kOpcodeWindow = 0x50;

// Number of parameter bytes of each script opcode, or one of the two marks below.
extern const std::uint8_t kOpcodeLengths[256];
// The opcode's length is read from its parameters (SPECIAL, KAWAI).
inline constexpr std::uint8_t kOpcodeLengthInParameters = 255;
// The opcode may not occur in a script.
inline constexpr std::uint8_t kOpcodeNeverOccurs = 99;

}  // namespace lgp
