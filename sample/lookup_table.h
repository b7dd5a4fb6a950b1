#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The lookup table that the game's archives carry between their table of contents and their
// first data header, by which the game and other tools find a file by name. The editor itself
// never reads it, but an archive without a valid one is not one the game can use.
namespace sample {

// Slots of the table: 30 x 30, one per pair of first characters.
inline constexpr int kLookupSlots = 900;
// Bytes of the table: a first index and a count (16 bits each) per slot, then a 16-bit count
// of name conflicts.
inline constexpr std::size_t kLookupTableSize = 4 * kLookupSlots + 2;

// The slot of a name: v(first character) x 30 + v(second character) + 1, where v lower-cases,
// maps the digits 0-9 to a-j, '_' to k and '-' to l, counts from a = 0, and gives a '.' -1.
// Throws std::invalid_argument for a name of fewer than two characters, one that starts with
// a dot, or one with another character among its first two.
int LookupSlot(std::string_view name);

// The table for a table of contents whose names stand grouped by slot: per slot the 1-based
// table index of its first entry (0 when it has none) and its number of entries, then a
// conflict count of 0. Throws std::invalid_argument when a slot's names are not together.
std::vector<std::uint8_t> MakeLookupTable(const std::vector<std::string>& names);

}  // namespace sample
