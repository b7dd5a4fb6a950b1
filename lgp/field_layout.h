#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace lgp {

// Where a decoded field file keeps what this program reads and rewrites, found by one walk of
// the file's header and of its script section's header. Positions are from the start of the
// file unless said otherwise.
struct FieldLayout {
    // The header: two zero bytes, the section count, then the sections' positions P1 to P9.
    static constexpr std::size_t kFirstSection = 6;
    static constexpr std::size_t kSectionCount = 9;
    static constexpr std::size_t kHeaderSize = kFirstSection + 4 * kSectionCount;

    // P1 as stored: where the script section's 4-byte length stands, its data following.
    std::int32_t scriptSection = 0;
    // P2 as stored: where the section after the script section starts.
    std::int32_t nextSection = 0;
    // S = P1 + 4, the base of the script section's own positions.
    std::size_t base = 0;
    std::size_t entities = 0;
    // T, the text section's position relative to S.
    std::size_t textSection = 0;
    // Where the Akao block positions are listed, and those positions, relative to S.
    std::size_t akaoList = 0;
    std::vector<std::uint32_t> akao;
    // The 32 script positions of each entity, relative to S, which follow the Akao list.
    std::size_t scriptTable = 0;
};

// Reads the layout of a decoded field file. Throws lgp::FormatError when a value would be read
// past the end of the data or a position read lies outside it.
FieldLayout ReadFieldLayout(std::span<const std::uint8_t> decoded);

// The position given by a signed offset; throws lgp::FormatError when it lies outside a field
// file of `size` bytes (its end included).
std::size_t FieldPosition(std::int64_t position, std::size_t size);

// Little-endian writes into a field file; the caller has checked that the bytes exist.
void PutU16(std::vector<std::uint8_t>& file, std::size_t position, std::uint16_t value);
void PutU32(std::vector<std::uint8_t>& file, std::size_t position, std::uint32_t value);

// Adds `shift` to the header's positions P2 to P9, as when the script section's size changes.
// Throws lgp::FormatError when `file` does not hold the whole header.
void ShiftLaterSections(std::vector<std::uint8_t>& file, std::int64_t shift);

}  // namespace lgp
